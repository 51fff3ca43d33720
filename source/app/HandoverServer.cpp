#include "app/HandoverServer.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QPointer>
#include <memory>

HandoverServer::HandoverServer(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &HandoverServer::accept);
}

QString HandoverServer::nameFor(const QString& programDir) {
    const QByteArray dir =
        QCryptographicHash::hash(programDir.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("lumora-%1-%2").arg(::getuid()).arg(QString::fromLatin1(dir));
}

bool HandoverServer::listen(const QString& name) {
    // Asked first: with its access option set, listening would quietly replace the socket
    // of a running program instead of failing.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500)) return false;
    QLocalServer::removeServer(name);
    return server_.listen(name);
}

void HandoverServer::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The socket gathers the bytes; its line is taken once it is complete or too long.
        auto answered = std::make_shared<bool>(false);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, answered] {
            if (*answered || (!socket->canReadLine() && socket->bytesAvailable() <= kMaxLine))
                return;
            *answered = true;
            QPointer<QLocalSocket> guarded(socket);
            const Reply reply = [guarded](const QByteArray& answer) {
                if (!guarded) return;
                guarded->write(answer + '\n');
                guarded->flush();
                guarded->disconnectFromServer();
            };
            QByteArray line = socket->readLine(kMaxLine + 2);
            if (!line.endsWith('\n')) {
                reply("unknown");
                return;
            }
            line.chop(1);
            if (line.endsWith('\r')) line.chop(1);
            handler_(line, reply);
        });
    }
}

std::optional<QByteArray> HandoverServer::send(const QString& name, const QByteArray& line,
                                               int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return std::nullopt;
    socket.write(line + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return std::nullopt;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(timeoutMs)) break;
        answer += socket.readAll();
    }
    if (!answer.contains('\n')) return std::nullopt;
    return answer.left(answer.indexOf('\n'));
}
