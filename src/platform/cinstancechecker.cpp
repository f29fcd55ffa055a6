#include "platform/cinstancechecker.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
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

CInstanceChecker::~CInstanceChecker()
{
    ReleaseStartLock();
}

void CInstanceChecker::ReleaseStartLock()
{
    if (m_lock >= 0)
        ::close(m_lock); // closing drops the lock
    m_lock = -1;
}

bool CInstanceChecker::ActivatePrevious(int timeoutMs)
{
    // The kernel drops the lock of a process that dies, so a crash never
    // leaves it taken; a start that cannot get it in time goes on without.
    if (m_lock < 0) {
        m_lock = ::open((m_path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        for (int waited = 0; m_lock >= 0 && ::flock(m_lock, LOCK_EX | LOCK_NB) != 0; waited += 20) {
            if (waited >= 5000) {
                ReleaseStartLock();
                break;
            }
            QThread::msleep(20);
        }
    }
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(m_path));
    if (!socket.waitForConnected(timeoutMs))
        return false; // nobody listens: no socket, or one left by a crash; the lock stays ours
    ReleaseStartLock();
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
            ReleaseStartLock();
            return false;
        }
    }
    ReleaseStartLock(); // listening now: the next start finds us
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
