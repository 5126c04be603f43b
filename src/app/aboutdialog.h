#pragma once

#include <QDialog>

// The about box: the program's icon, name and version, and the rights and
// contact lines.
class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
