#pragma once

#include <QString>

// The folder of the executable, without a trailing separator. It holds the
// data files the program ships: templates, the help page, the definition file.
QString GetProgramFolder();

// Where a shipped data file is: beside the executable first, then in the
// installed data folder. The path beside the executable when it is in neither.
QString FindDataFile(const QString& name);
