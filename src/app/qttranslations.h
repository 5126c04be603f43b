#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own Hebrew texts (qtbase_he.qm, from the folder Qt keeps its
// translations in) for the dialogs and buttons Qt draws itself: the file,
// font, colour, print and message dialogs, with the few texts that file
// leaves in English put into Hebrew. Installs them into the application and
// returns the translator, owned by the application; null when the
// translations are not installed, and the dialogs stay in English.
QTranslator* InstallQtTranslations(QCoreApplication* application);
