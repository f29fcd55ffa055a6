#include "platform/cinstancechecker.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kRaise[] = "raise\n";
constexpr char kOpen[] = "open ";
constexpr char kRaised[] = "raised\n";

// A folder only we can enter: the session's runtime folder when the system
// made one, else our own under the temporary folder. In a world-writable
// temporary folder anybody could have made that name first (a folder of
// theirs, or a link to one), so it is used only when it is a real folder,
// ours, and closed to everybody else. Empty when there is no such folder.
std::string PrivateFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!runtime.isEmpty() && ::stat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return runtime.toStdString();
    const std::string folder = QDir::tempPath().toStdString() + "/tessarin-" + std::to_string(getuid());
    ::mkdir(folder.c_str(), 0700); // may exist already: checked below either way
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
        (st.st_mode & 077) != 0)
        return {};
    return folder;
}

// Only our own user's editor is answered or obeyed.
bool PeerIsUs(qintptr descriptor)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return descriptor >= 0 &&
           ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == getuid();
}

} // namespace

CInstanceChecker::CInstanceChecker(const std::string& recordName)
{
    const std::string folder = PrivateFolder();
    if (!folder.empty())
        m_path = folder + "/" + recordName;
}

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

bool CInstanceChecker::ActivatePrevious(const std::string& openPath, int timeoutMs)
{
    if (m_path.empty())
        return false; // no private folder: nobody can be found, and this editor runs unrecorded
    // The kernel drops the lock of a process that dies, so a crash never
    // leaves it taken; a start that cannot get it in time goes on without.
    if (m_lock < 0) {
        m_lock = ::open((m_path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
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
    if (!PeerIsUs(socket.socketDescriptor()))
        return false; // not our editor: nothing it says counts
    ReleaseStartLock();
    // A path is one line of the request; one that holds a line break only raises.
    const bool forward = !openPath.empty() && openPath.find('\n') == std::string::npos;
    socket.write(forward ? (kOpen + openPath + "\n").c_str() : kRaise);
    socket.waitForBytesWritten(timeoutMs);
    // The answer only says the request arrived; a busy instance still runs.
    while (socket.bytesAvailable() < static_cast<qint64>(sizeof kRaised - 1) && socket.waitForReadyRead(timeoutMs)) {
    }
    return true;
}

bool CInstanceChecker::Track(std::function<void(const std::string& openPath)> raise, std::string* why)
{
    if (m_path.empty()) {
        if (why)
            *why = QDir::tempPath().toStdString() + "/tessarin-" + std::to_string(getuid()) +
                   ": not a folder of our own that only we can enter";
        return false;
    }
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
            if (!PeerIsUs(socket->socketDescriptor())) {
                socket->abort();
                continue;
            }
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine();
                socket->write(kRaised);
                socket->disconnectFromServer();
                std::optional<std::string> openPath;
                if (line == kRaise)
                    openPath = std::string();
                else if (line.startsWith(kOpen) && line.endsWith('\n'))
                    openPath = line.mid(static_cast<int>(sizeof kOpen - 1)).chopped(1).toStdString();
                // After the answer: opening a legend may ask about unsaved
                // changes, and the second start need not wait for the user.
                if (openPath && m_raise)
                    QTimer::singleShot(0, m_server.get(), [this, path = *openPath] { m_raise(path); });
            });
        }
    });
    return true;
}
