#include "platform/cinstancechecker.h"
#include "platform/cwinprocess.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// One start of the stand-in editor, recording itself in the given runtime folder.
struct CProbe {
    QProcess process;
    explicit CProbe(const QString& runtimeDir)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationDirPath() + "/instanceprobe", {QStringLiteral("probe-record")});
    }
    // Reads stdout until the line arrives or two seconds pass.
    bool Says(const QByteArray& line)
    {
        for (int i = 0; i < 40; ++i) {
            if (process.canReadLine() || process.waitForReadyRead(50)) {
                while (process.canReadLine())
                    if (process.readLine() == line + '\n')
                        return true;
            }
        }
        return false;
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
    ASSERT_TRUE(first->Says("listening"));
    for (int i = 0; i < 2; ++i) {
        CProbe second(dir);
        EXPECT_EQ(second.ExitCode(), 3);
        EXPECT_EQ(second.process.readAllStandardOutput(), "activated\n");
        EXPECT_TRUE(first->Says("raised"));
    }

    // SIGKILL leaves the socket file behind; the next start still becomes the instance.
    first->process.kill();
    first->process.waitForFinished();
    ASSERT_TRUE(QFileInfo::exists(dir + QStringLiteral("/probe-record")));
    CProbe next(dir);
    EXPECT_TRUE(next.Says("listening"));
    CProbe after(dir);
    EXPECT_EQ(after.ExitCode(), 3);
}

TEST(InstanceChecker, TwoStartsAtTheSameMomentLeaveOneInstance)
{
    CCoreApp app;
    for (int round = 0; round < 5; ++round) {
        CTempDir runtime;
        const QString dir = QString::fromStdString(runtime.Path());
        CProbe a(dir), b(dir);
        bool aEnded = false, bEnded = false;
        for (int i = 0; i < 150 && !aEnded && !bEnded; ++i) {
            aEnded = a.process.waitForFinished(10);
            bEnded = b.process.waitForFinished(10);
        }
        // Time for the other to end too, were it a second instance that found none.
        (aEnded ? bEnded : aEnded) = (aEnded ? b : a).process.waitForFinished(300);
        ASSERT_NE(aEnded, bEnded) << "round " << round;
        CProbe& ended = aEnded ? a : b;
        EXPECT_EQ(ended.process.exitCode(), 3);
        EXPECT_TRUE((aEnded ? b : a).Says("raised"));
    }
}

TEST(WinProcess, RunningEndedAndZombieProcesses)
{
    const pid_t child = fork();
    if (child == 0) {
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

    std::string running;
    for (uint32_t pid : {CWinProcess::Own(), 0u, 0xFFFFFFFFu, 0x80000000u})
        running += CWinProcess::IsRunning(pid) ? "1" : "0";
    running += " ";
    for (const char* name : {"test_session", "TEST_Session.exe", "/elsewhere/test_session.bin", "test_sessio",
                             "test_session2", "", ".exe"})
        running += CWinProcess::IsRunning(std::string(name)) ? "1" : "0";
    EXPECT_EQ(running, "1000 1110000");
}
