#include "framework/displaytext.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>

QString LeftToRightIsolate(const QString& text) {
    return QChar(0x2066) + text + QChar(0x2069);
}

QString FirstStrongIsolate(const QString& text) {
    return QChar(0x2068) + text + QChar(0x2069);
}

QString SystemReason(int errorNumber, const QString& fallback) {
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("SystemReason", text);
    };
    switch (errorNumber) {
        case 0:
            return fallback;
        case ENOENT:
            return tr("הקובץ או התיקייה אינם קיימים.");
        case EACCES:
        case EPERM:
            return tr("אין הרשאה לגשת לקובץ.");
        case ENOSPC:
        case EDQUOT:
            return tr("אין די מקום פנוי בדיסק.");
        case EROFS:
            return tr("מערכת הקבצים מיועדת לקריאה בלבד.");
        case EISDIR:
            return tr("זוהי תיקייה ולא קובץ.");
        case ENAMETOOLONG:
            return tr("שם הקובץ ארוך מדי.");
        case EEXIST:
            return tr("הקובץ כבר קיים.");
        default:
            return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}
