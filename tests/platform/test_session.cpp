#include "platform/cinstancechecker.h"
#include "platform/cwinprocess.h"
#include "platform/scratchfiles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>

#include <climits>
#include <future>
#include <iostream>
#include <optional>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <thread>

namespace {

// One start of the stand-in editor, recording itself in the given runtime folder (if any).
struct CProbe {
    QProcess process;
    explicit CProbe(const QString& runtimeDir, const QString& forward = {},
                    QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
    {
        if (!runtimeDir.isEmpty())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationDirPath() + "/instanceprobe",
                      QStringList{QStringLiteral("probe-record")} +
                          (forward.isEmpty() ? QStringList{} : QStringList{forward}));
    }
    // The rest of the first line of stdout that begins with `line` within two seconds, or nothing.
    std::optional<std::string> Said(const QByteArray& line)
    {
        for (int i = 0; i < 40; i += !process.canReadLine() && !process.waitForReadyRead(50)) {
            const QByteArray got = process.canReadLine() ? process.readLine().chopped(1) : QByteArray();
            if (!got.isEmpty() && got.startsWith(line))
                return got.mid(line.size()).toStdString();
        }
        return std::nullopt;
    }
    // Waits for the start to end: its exit code, -1 when it goes on.
    int ExitCode() { return process.waitForFinished(5000) ? process.exitCode() : -1; }
    ~CProbe()
    {
        process.kill();
        process.waitForFinished();
    }
};

struct CCoreApp {
    int argc = 1;
    char name[13] = "test_session";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

} // namespace

TEST(InstanceChecker, ASecondStartRaisesTheFirstAndAKilledFirstBlocksNothing)
{
    CCoreApp app;
    CTempDir runtime;
    const QString dir = QString::fromStdString(runtime.Path());
    auto first = std::make_unique<CProbe>(dir);
    ASSERT_TRUE(first->Said("listening").has_value());
    // A legend named at a later start reaches the running one, whatever bytes the path holds.
    const QString path = QString::fromUtf8("/legends/with space/a\nline/b\r\xc3\xa4\t.leg");
    CProbe forwarding(dir, path);
    EXPECT_EQ(forwarding.ExitCode(), 3);
    EXPECT_EQ(first->Said("opened "), QString(path).replace('\n', "\\n").toStdString());
    // A path no system can open is not passed on at all.
    CProbe tooLong(dir, QStringLiteral("/") + QString(PATH_MAX, QLatin1Char('z')));
    EXPECT_EQ(tooLong.ExitCode(), 1);
    EXPECT_EQ(tooLong.process.readAllStandardOutput(), "failed: the legend's path is longer than " +
                                                           QByteArray::number(PATH_MAX) +
                                                           " bytes; it is not passed on\n");
    CProbe plain(dir);
    EXPECT_EQ(plain.ExitCode(), 3);
    EXPECT_EQ(plain.process.readAllStandardOutput(), "activated\n");
    EXPECT_EQ(first->Said(""), "raised"); // nothing was opened before it
    // SIGKILL leaves the socket file behind; the next start still becomes the instance.
    first->process.kill();
    first->process.waitForFinished();
    ASSERT_TRUE(QFileInfo::exists(dir + QStringLiteral("/probe-record")));
    CProbe next(dir);
    EXPECT_TRUE(next.Said("listening").has_value());
}

TEST(InstanceChecker, AStartSaysSoWhenTheRunningEditorDoesNotAnswer)
{
    CCoreApp app;
    // Stand-ins for an editor that took the request: one closes at once, one
    // answers something else, one hangs (it is let go after the start ends).
    for (const char* answer : std::initializer_list<const char*>{"", "busy\n", nullptr}) {
        CTempDir runtime;
        QLocalServer editor;
        ASSERT_TRUE(editor.listen(QString::fromStdString(runtime.File("probe-record"))));
        CProbe forwarding(QString::fromStdString(runtime.Path()), QStringLiteral("/legends/a.leg"));
        ASSERT_TRUE(editor.waitForNewConnection(5000));
        QLocalSocket* request = editor.nextPendingConnection();
        EXPECT_TRUE(request->waitForReadyRead(2000));
        if (answer) {
            request->write(answer);
            request->waitForBytesWritten(2000);
            request->disconnectFromServer();
        }
        EXPECT_EQ(forwarding.ExitCode(), 1) << (answer ? answer : "hangs");
        EXPECT_EQ(forwarding.process.readAllStandardOutput(), "failed: the running editor did not answer\n");
    }
}

TEST(InstanceChecker, TheRecordGoesToAPrivateFolderOnly)
{
    CCoreApp app;
    const std::string uid = std::to_string(getuid());
    // What XDG_RUNTIME_DIR names, the temporary folder's layout; where the record goes ("run",
    // the fallback or "" when nowhere) and why the runtime folder was refused, as said on stderr.
    const std::tuple<const char*, std::string, const char*, std::string> cases[] = {
        {"", "", "fallback", ""},
        {"run", "run/@700", "run", ""},
        {"run", "", "fallback", "it does not exist"},
        {"run", "run/@705", "fallback", "others can enter it"},
        {"run", "run-real/@700; run->run-real", "fallback", "it is a link"},
        {"run", "run/@700", "fallback", "it belongs to another user"}, // given away to nobody (needs root)
        {"", "tessarin-" + uid + "/@770", "", ""},                     // ours but open to our group
    };
    for (const auto& [runtime, layout, where, refused] : cases) {
        SCOPED_TRACE(layout + " " + refused);
        CTempDir tmp;
        const std::string folder = tmp.File("tessarin-" + uid), run = tmp.File("run");
        if (!layout.empty())
            Lay(tmp.Path(), layout);
        if (refused == "it belongs to another user" && (getuid() != 0 || chown(run.c_str(), 65534, 65534) != 0)) {
            std::cout << "skipped (needs root): a runtime folder of another user\n";
            continue;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("TMPDIR"), QString::fromStdString(tmp.Path()));
        CProbe probe(*runtime ? QString::fromStdString(run) : QString(), {}, env);
        ASSERT_TRUE(probe.process.waitForReadyRead(5000));
        const std::string line = probe.process.readLine().toStdString();
        if (!*where) {
            EXPECT_EQ(line.substr(0, 13) + " " + std::to_string(probe.ExitCode()), "cannot record 1");
            continue;
        }
        const std::string used = std::string(where) == "run" ? run : folder;
        struct stat st {};
        lstat(used.c_str(), &st);
        // Nothing is recorded in the temporary folder itself or where a link points.
        EXPECT_EQ(Join(line, st.st_mode & 07777, st.st_uid,
                       std::filesystem::exists(tmp.File("probe-record")) ||
                           std::filesystem::exists(tmp.File("run-real/probe-record"))),
                  Join("listening " + used + "/probe-record\n", 0700, getuid(), false));
        probe.process.kill();
        probe.process.waitForFinished();
        EXPECT_EQ(probe.process.readAllStandardError().toStdString(),
                  refused.empty() ? ""
                                  : "tessarin: the runtime folder " + run + " is refused (" + refused + "); using " +
                                        folder + " instead\n");
    }
}

TEST(InstanceChecker, TwoStartsAtTheSameMomentLeaveOneInstance)
{
    CCoreApp app;
    for (int round = 0; round < 3; ++round) {
        CTempDir runtime;
        const QString dir = QString::fromStdString(runtime.Path());
        CProbe a(dir), b(dir);
        // The one that ends has found the other, which goes on as the instance.
        const bool aEnded = a.process.waitForFinished(1500), bEnded = b.process.waitForFinished(300);
        ASSERT_NE(aEnded, bEnded) << "round " << round;
        EXPECT_EQ((aEnded ? a : b).process.exitCode(), 3);
        EXPECT_TRUE((aEnded ? b : a).Said("raised") == "");
    }
}

TEST(WinProcess, RunningEndedAndZombieProcesses)
{
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlive a test that stopped early
        pause();
        _exit(0);
    }
    ASSERT_GT(child, 0);
    EXPECT_TRUE(CWinProcess::IsRunning(static_cast<uint32_t>(child)));
    kill(child, SIGKILL);
    // Ended but not yet waited for: a zombie, which no longer runs.
    for (int i = 0; i < 100 && CWinProcess::IsRunning(static_cast<uint32_t>(child)); ++i)
        usleep(10000);
    EXPECT_FALSE(CWinProcess::IsRunning(static_cast<uint32_t>(child)));
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(CWinProcess::IsRunning(static_cast<uint32_t>(child)));
    // A thread's id opens /proc/<id> too, but names no process.
    std::promise<uint32_t> threadId;
    std::promise<void> done;
    std::thread thread([&] {
        threadId.set_value(static_cast<uint32_t>(syscall(SYS_gettid)));
        done.get_future().wait();
    });
    std::string running;
    for (uint32_t pid : {CWinProcess::Own(), threadId.get_future().get(), 0u, 0x80000000u})
        running += CWinProcess::IsRunning(pid) ? "1" : "0";
    done.set_value();
    thread.join();
    running += " ";
    for (const char* name : {"test_session", "/elsewhere/TEST_Session.exe", "test_sessio", "test_session2", "", ".exe"})
        running += CWinProcess::IsRunning(std::string(name)) ? "1" : "0";
    EXPECT_EQ(running, "1000 110000");
}
