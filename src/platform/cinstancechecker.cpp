#include "platform/cinstancechecker.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr char kRaise[] = "raise\n";
constexpr char kRaised[] = "raised\n";

std::string SocketPath(const std::string& name)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists())
        return runtime.toStdString() + "/" + name;
    return QDir::tempPath().toStdString() + "/" + name + "-" + std::to_string(getuid());
}

} // namespace

CInstanceChecker::CInstanceChecker(const std::string& recordName) : m_path(SocketPath(recordName)) {}

CInstanceChecker::~CInstanceChecker() = default;

bool CInstanceChecker::ActivatePrevious(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(m_path));
    if (!socket.waitForConnected(timeoutMs))
        return false; // nobody listens: no socket, or one left by a crash
    socket.write(kRaise);
    socket.waitForBytesWritten(timeoutMs);
    // The answer only says the window came up; a busy instance still runs.
    while (socket.bytesAvailable() < static_cast<qint64>(sizeof kRaised - 1) && socket.waitForReadyRead(timeoutMs)) {
    }
    return true;
}

bool CInstanceChecker::Track(std::function<void()> raise, std::string* why)
{
    m_raise = std::move(raise);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = QString::fromStdString(m_path);
    if (!m_server->listen(path)) {
        // Nobody answered before we got here, so the socket is a crashed instance's.
        QLocalServer::removeServer(path);
        if (!m_server->listen(path)) {
            if (why)
                *why = m_path + ": " + m_server->errorString().toStdString();
            m_server.reset();
            return false;
        }
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kRaise && m_raise)
                    m_raise();
                socket->write(kRaised);
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}
