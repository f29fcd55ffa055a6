// The editor program as a user or a host starts it.

#include "support/runprocess.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>

namespace {

// Each run gets its own settings and its own instance record, so the tests
// neither see the user's editor nor each other.
struct CEditorRun {
    CTempDir home;
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(home.Path()));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home.File("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }
    std::unique_ptr<QProcess> Start(const QStringList& args) const
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(Environment());
        process->start(QString::fromStdString(ProjectBinary("tessarin")), args);
        process->waitForStarted();
        return process;
    }
    // Waits until a started editor has recorded itself.
    bool Recorded() const
    {
        for (int i = 0; i < 100; ++i) {
            if (QFileInfo::exists(QString::fromStdString(home.File("{5C4E23C3-EEBE-4db3-97E3-63F6A63ED1CA}"))))
                return true;
            QThread::msleep(50);
        }
        return false;
    }
};

struct CApp {
    int argc = 1;
    char name[16] = "test_tessarin";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

} // namespace

TEST(Tessarin, ScreenshotsOfTheNormalAndTheEditModeWindow)
{
    CApp app;
    CEditorRun run;
    // The bundled samples, so the pictures show what a user sees.
    const std::string samples = std::string(std::getenv("TESSARIN_SOURCE_DIR")) + "/samples/";
    std::filesystem::create_directories(run.home.File("config/Ferrolin"));
    WriteTextFile(run.home.File("config/Ferrolin/Common.conf"), "[General]\nLUT_PATH=" + samples + "\n");
    const QString normal = QString::fromStdString(TestOutputDir() + "/tessarin-main.png");
    const QString edit = QString::fromStdString(TestOutputDir() + "/tessarin-edit.png");
    const QString copper = QString::fromStdString(samples + "copper_pct.leg");
    for (const QStringList& args : {QStringList{"-name", copper, "--screenshot", normal},
                                    QStringList{"-edit", "-name", copper, "--screenshot", edit}}) {
        auto p = run.Start(args);
        ASSERT_TRUE(p->waitForFinished(20000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    const QImage a(normal), b(edit);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(a.width() - b.width(), 184);
    EXPECT_EQ(a.height(), b.height());

    auto p = run.Start({"--screenshot", QString::fromStdString(run.home.File("no/such/folder/x.png"))});
    ASSERT_TRUE(p->waitForFinished(20000));
    EXPECT_EQ(p->exitCode(), 1);
    EXPECT_NE(p->readAllStandardError().toStdString().find("tessarin: cannot write " + run.home.File("no/such/folder/x.png") + ": "), std::string::npos);
}

TEST(Tessarin, HelpPrintsTheUsageWithoutOpeningAWindow)
{
    CApp app;
    CEditorRun run;
    auto p = run.Start({QStringLiteral("-name"), QStringLiteral("x.leg"), QStringLiteral("--help")});
    ASSERT_TRUE(p->waitForFinished(10000));
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_EQ(p->readAllStandardOutput().left(59).toStdString(),
              "Usage: tessarin [FILE.leg] [--screenshot OUT.png] [host swi");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(run.home.File("{5C4E23C3-EEBE-4db3-97E3-63F6A63ED1CA}"))));
}

TEST(Tessarin, ASecondStartEndsAndAKilledEditorBlocksNothing)
{
    CApp app;
    CEditorRun run;
    auto first = run.Start({});
    ASSERT_TRUE(run.Recorded());
    auto second = run.Start({"-name", "whatever.leg", "-edit"});
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    first->kill(); // SIGKILL: the record stays behind
    first->waitForFinished();
    auto third = run.Start({});
    QThread::msleep(1500);
    EXPECT_EQ(third->state(), QProcess::Running);
    auto fourth = run.Start({});
    ASSERT_TRUE(fourth->waitForFinished(10000));
    EXPECT_EQ(fourth->exitCode(), 0);
    third->kill();
    third->waitForFinished();
}

TEST(Tessarin, ClosesWithinTwoSecondsOfTheHostEnding)
{
    CApp app;
    CEditorRun run;
    QProcess host;
    host.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(host.waitForStarted());
    auto editor = run.Start({"-Vyrn", "-PID", QString::number(host.processId())});
    ASSERT_TRUE(run.Recorded());
    QThread::msleep(1500);
    EXPECT_EQ(editor->state(), QProcess::Running); // the host runs: the editor stays
    host.kill();
    host.waitForFinished();
    // One tick of the tracking timer, and slack for a loaded machine.
    EXPECT_TRUE(editor->waitForFinished(4000));
    EXPECT_EQ(editor->exitCode(), 0);
}
