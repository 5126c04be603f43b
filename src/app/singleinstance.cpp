#include "app/singleinstance.h"

#include <unistd.h>

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

namespace {

// What the two ends say: a request carries the tag and the list of files;
// the answer is one byte.
constexpr quint32 kRequestTag = 0x4d495256;  // "MIRV"
constexpr char kAnswer = 'K';

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
}

QString SingleInstance::ServerName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("DISPLAY");
    }
    if (display.isEmpty()) {
        display = QStringLiteral("none");
    }
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    display.replace(unsafe, QStringLiteral("_"));
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::tempPath();
    }
    return folder + QStringLiteral("/mirval-%1-%2").arg(::getuid()).arg(display);
}

bool SingleInstance::HandOver(const QString& name, const QStringList& files, int timeoutMs) {
    // In a shared temporary folder another user could have put a socket of
    // that name there: only the user's own is spoken to.
    const QFileInfo socketFile(name);
    if (!socketFile.exists() || socketFile.ownerId() != ::getuid()) {
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out << kRequestTag << files;
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    while (socket.bytesAvailable() == 0) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kAnswer;
}

bool SingleInstance::Listen(const QString& name) {
    // Checked first: the server puts its socket in place by renaming, which
    // would silently take the name from a program listening there.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(200)) {
        return false;
    }
    // Nobody listens; whatever is left there is a socket of a program that
    // has ended.
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A caller that says nothing is not kept waiting for ever.
        QTimer::singleShot(5000, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            quint32 tag = 0;
            QStringList files;
            in >> tag >> files;
            if (!in.commitTransaction()) {
                return;  // the rest is still on its way
            }
            if (tag != kRequestTag) {
                socket->abort();
                return;
            }
            // Answered first: the files may bring up dialogs, which must not
            // keep the second start waiting.
            socket->putChar(kAnswer);
            socket->flush();
            socket->disconnectFromServer();
            QTimer::singleShot(0, this, [this, files] { emit FilesReceived(files); });
        });
    }
}
