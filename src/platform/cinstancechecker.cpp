#include "platform/cinstancechecker.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <memory>
#include <optional>

#include <climits>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A request is one word, a path for "open", and a NUL: a path can hold any
// byte but that one, a line break included.
constexpr char kRaise[] = "raise";
constexpr char kOpen[] = "open ";
constexpr char kRaised[] = "raised\n";
// Far more than any path; a peer that sends more is cut off.
constexpr qint64 kMaxRequest = 64 * 1024;

// Only we may make, replace or listen in the folder of the record. Anybody
// could have made the name first in a world-writable folder (a folder of
// theirs, or a link to one), and XDG_RUNTIME_DIR is only a name someone put
// in the environment: either is used only when it is a real folder, ours,
// and closed to everybody else.
// Why a folder cannot hold the record; empty when it can.
std::string WhyNotPrivate(const std::string& folder)
{
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return "it does not exist";
    if (S_ISLNK(st.st_mode))
        return "it is a link";
    if (!S_ISDIR(st.st_mode))
        return "it is no folder";
    if (st.st_uid != getuid())
        return "it belongs to another user";
    if ((st.st_mode & 077) != 0)
        return "others can enter it";
    return {};
}

// Ours under the temporary folder, for sessions without a usable runtime folder.
std::string FallbackFolder()
{
    return QDir::tempPath().toStdString() + "/tessarin-" + std::to_string(getuid());
}

// The session's runtime folder when the system made one for us, else our own
// under the temporary folder. Empty when there is no such folder.
std::string PrivateFolder()
{
    const std::string runtime = qgetenv("XDG_RUNTIME_DIR").toStdString();
    const std::string refused = runtime.empty() ? std::string() : WhyNotPrivate(runtime);
    if (!runtime.empty() && refused.empty())
        return runtime;
    const std::string folder = FallbackFolder();
    ::mkdir(folder.c_str(), 0700); // may exist already: checked either way
    const bool fallback = WhyNotPrivate(folder).empty();
    // A start from a shell whose runtime folder is fine looks elsewhere and
    // will not find this editor: the user should know why two may run.
    if (!refused.empty())
        std::fprintf(stderr, "tessarin: the runtime folder %s is refused (%s); %s\n",
                     runtime.c_str(), refused.c_str(),
                     fallback ? ("using " + folder + " instead").c_str()
                              : "no other folder is private");
    return fallback ? folder : std::string();
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

bool CInstanceChecker::ActivatePrevious(const std::string& openPath, int timeoutMs,
                                        std::string* failure)
{
    if (failure)
        failure->clear();
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
    // No file system opens a longer path, and the running editor would only
    // show it back in a message the size of the screen.
    if (openPath.size() > PATH_MAX) {
        if (failure)
            *failure = "the legend's path is longer than " + std::to_string(PATH_MAX) +
                       " bytes; it is not passed on";
        return true;
    }
    const std::string request = openPath.empty() ? std::string(kRaise) : kOpen + openPath;
    socket.write(request.c_str(), static_cast<qint64>(request.size() + 1)); // with its NUL
    socket.waitForBytesWritten(timeoutMs);
    // The answer says the request arrived. Without it the legend may never
    // open, and the user is the one to know: an editor that hangs, or closes
    // on us, still runs, so no second one starts either.
    while (socket.bytesAvailable() < static_cast<qint64>(sizeof kRaised - 1) && socket.waitForReadyRead(timeoutMs)) {
    }
    if (socket.read(sizeof kRaised - 1) != kRaised && failure)
        *failure = "the running editor did not answer";
    return true;
}

bool CInstanceChecker::Track(std::function<void(const std::string& openPath)> raise, std::string* why)
{
    if (m_path.empty()) {
        if (why)
            *why = FallbackFolder() + ": not a folder of our own that only we can enter";
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
            // A request may come in pieces: it is whole at its NUL.
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, received] {
                received->append(socket->readAll());
                const qsizetype end = received->indexOf('\0');
                if (end > kMaxRequest || (end < 0 && received->size() > kMaxRequest)) {
                    socket->abort();
                    return;
                }
                if (end < 0)
                    return;
                const QByteArray request = received->left(end);
                received->clear();
                socket->write(kRaised);
                socket->disconnectFromServer();
                std::optional<std::string> openPath;
                if (request == kRaise)
                    openPath = std::string();
                else if (request.startsWith(kOpen))
                    openPath = request.mid(static_cast<qsizetype>(sizeof kOpen - 1)).toStdString();
                // After the answer: opening a legend may ask about unsaved
                // changes, and the second start need not wait for the user.
                if (openPath && m_raise)
                    QTimer::singleShot(0, m_server.get(), [this, path = *openPath] { m_raise(path); });
            });
        }
    });
    return true;
}
