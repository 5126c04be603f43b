#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

// One running program per user and display: a second start hands the files
// it was given to the running one over a local socket and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QObject* parent = nullptr);

    // The socket's name for this user and display: in the user's runtime
    // folder when there is one, else in the temporary folder, named after
    // the user id and $WAYLAND_DISPLAY or $DISPLAY.
    static QString ServerName();

    // Sends the files (absolute paths) to the program listening at name;
    // true when it took them within timeoutMs, false when none listens or
    // it does not answer in time.
    static bool HandOver(const QString& name, const QStringList& files, int timeoutMs = 1000);

    // Listens at name, for this user only. A socket left by a program that
    // has ended is replaced; false when another program listens there.
    bool Listen(const QString& name);

signals:
    // Files handed over by a second start, once it has been answered.
    void FilesReceived(const QStringList& files);

private:
    void OnConnection();

    QLocalServer m_server;
};
