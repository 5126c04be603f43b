#pragma once

#include <QString>

// Pieces of text put into the program's own right-to-left sentences, menus
// and labels.

// Text that reads left to right (a path, a file name, a font name, a number
// with signs) kept whole inside a right-to-left text: without the isolate a
// path's leading slash or a name's closing bracket is shown at its other end.
// LEFT-TO-RIGHT ISOLATE ... POP DIRECTIONAL ISOLATE.
QString LeftToRightIsolate(const QString& text);

// Text whose direction follows its own first strong letter (a window title
// that may be Hebrew or Latin), kept whole beside the text around it.
// FIRST STRONG ISOLATE ... POP DIRECTIONAL ISOLATE.
QString FirstStrongIsolate(const QString& text);

// The system's reason for a failed file operation, for the second line of an
// error message: Hebrew for the common reasons (file not found, permission
// denied, disk full, read-only file system, is a folder, name too long, file
// exists); any other error number keeps the system's own text. With no error
// number (0), fallback is shown as it is.
QString SystemReason(int errorNumber, const QString& fallback = QString());
