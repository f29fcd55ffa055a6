// The editor program as a user or a host starts it.

#include "app/ui/ctessarinapp.h"
#include "app/ui/ctessarindlg.h"
#include "support/madelocale.h"
#include "support/runprocess.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QTimer>

namespace {

// Each run gets its own settings and its own instance record, so the tests
// neither see the user's editor nor each other.
struct CEditorRun {
    CTempDir home;
    std::unique_ptr<QProcess> Start(const QStringList& args, const std::string& folder = ".") const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(home.Path()));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(home.File("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(QString::fromStdString(folder));
        process->start(QString::fromStdString(ProjectBinary("tessarin")), args);
        process->waitForStarted();
        return process;
    }
    // A legend folder with a copy of a bundled sample, set as the editor's LUT_PATH.
    void LegendFolder(const char* name) const
    {
        const std::string samples = std::string(std::getenv("TESSARIN_SOURCE_DIR")) + "/samples/";
        std::filesystem::create_directories(home.File("legends"));
        std::filesystem::copy_file(samples + name, home.File(std::string("legends/") + name));
        std::filesystem::create_directories(home.File("config/Ferrolin"));
        WriteTextFile(home.File("config/Ferrolin/Common.conf"), "[General]\nLUT_PATH=" + home.File("legends") + "\n");
    }
    std::string Record() const { return home.File("{5C4E23C3-EEBE-4db3-97E3-63F6A63ED1CA}"); }
    // Waits until a started editor has recorded itself.
    bool Recorded() const
    {
        for (int i = 0; i < 100; ++i) {
            if (std::filesystem::exists(Record()))
                return true;
            QThread::msleep(50);
        }
        return false;
    }
};

// The editor's own lines on stderr, without what Qt says about the platform.
std::string OwnLines(QProcess& process)
{
    std::string own;
    for (const QByteArray& line : process.readAllStandardError().split('\n'))
        if (line.startsWith("tessarin: "))
            own += line.toStdString() + "\n";
    return own;
}

struct CApp {
    int argc = 1;
    char name[16] = "test_tessarin";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
};

} // namespace

// Our own switches end the start with an exit code; none of them leaves a running editor.
TEST(Tessarin, OwnSwitchesExitCodesAndWhatTheyPrint)
{
    CApp app;
    CEditorRun run;
    run.LegendFolder("copper_pct.leg");
    const std::string shot = TestOutputDir() + "/tessarin-main.png", nowhere = run.home.File("no/x.png");
    std::filesystem::remove(shot);
    // The arguments; the exit code, then the start of stdout and of the editor's own stderr lines.
    const std::tuple<QStringList, int, std::string, std::string> cases[] = {
        {{"-name", "x.leg", "--help"}, 0, "Usage: tessarin [FILE.leg] [--screenshot OUT.png] [host swi", ""},
        {{"--screenshot", QString::fromStdString(shot)}, 0, "", ""},
        {{"--screenshot", QString::fromStdString(nowhere)}, 1, "", "tessarin: cannot write " + nowhere + ": "},
        {{"--edit"}, 2, "", "tessarin: unknown switch --edit\n"},
    };
    for (const auto& [args, code, out, err] : cases) {
        auto p = run.Start(args);
        ASSERT_TRUE(p->waitForFinished(20000));
        EXPECT_EQ(p->exitCode(), code) << args.join(' ').toStdString();
        EXPECT_EQ(p->readAllStandardOutput().left(static_cast<qsizetype>(out.size())).toStdString(), out);
        EXPECT_EQ(OwnLines(*p).substr(0, err.size()), err);
    }
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
    EXPECT_FALSE(std::filesystem::exists(run.Record()));
}

// A host that ran and ended closes the editor quietly, also while a start-up message (the pen
// file, the missing legend) is open; one that never ran is named.
TEST(Tessarin, ClosesWithinTwoSecondsOfTheHostEnding)
{
    CApp app;
    const std::pair<QStringList, bool> cases[] = {
        {{"-Vyrn"}, true}, {{"-Quarvex", "-name", "/no/such.leg"}, true}, {{"-Vyrn"}, false}};
    for (const auto& [switches, ranFirst] : cases) {
        CEditorRun run;
        QProcess host;
        host.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        ASSERT_TRUE(host.waitForStarted());
        const QString pid = QString::number(host.processId());
        if (!ranFirst) {
            host.kill();
            host.waitForFinished();
        }
        auto editor = run.Start(switches + QStringList{"-PID", pid});
        if (ranFirst) {
            ASSERT_TRUE(run.Recorded()); // the host runs: the editor starts and stays
            host.kill();
            host.waitForFinished();
        }
        // Two seconds, and one tick of the tracking timer for a loaded machine.
        EXPECT_TRUE(editor->waitForFinished(ranFirst ? 3000 : 5000));
        EXPECT_EQ(editor->exitCode(), 0);
        EXPECT_EQ(OwnLines(*editor),
                  ranFirst ? "" : "tessarin: host process " + pid.toStdString() + " is not running\n");
    }
}

// In this process, so the legend can be changed and a question opened the way
// the user would, before the host ends.
TEST(Tessarin, TheHostEndingClosesAModifiedLegendWithoutAsking)
{
    CApp app;
    CEditorRun run;
    run.LegendFolder("copper_pct.leg");
    const std::string before = ReadTextFile(run.home.File("legends/copper_pct.leg"));
    const CScopedEnv runtime("XDG_RUNTIME_DIR", run.home.Path()), config("XDG_CONFIG_HOME", run.home.File("config"));
    QProcess host;
    host.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(host.waitForStarted());
    CTessarinApp tessarin({"tessarin", "-Vyrn", "-PID", std::to_string(host.processId())});
    bool asked = false;
    QTimer::singleShot(1200, [&] {
        CTessarinDlg* dlg = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = dynamic_cast<CTessarinDlg*>(w); d && d->isVisible())
                dlg = d;
        ASSERT_NE(dlg, nullptr);
        dlg->Flow().ChangeLegend([](CLLLegend& legend) { legend.m_Name += " (edited)"; });
        QTimer::singleShot(300, [&, dlg] {
            QWidget* question = QApplication::activeModalWidget();
            asked = question && question != dlg;
            host.kill();
        });
        // Close asks "Save changes?": the host ends while the question is open.
        dlg->reject();
    });
    // Were the editor to ask after the host ended, it would wait for ever: the run's time limit ends it.
    EXPECT_EQ(tessarin.Run(), 0);
    host.waitForFinished();
    EXPECT_TRUE(asked);
    EXPECT_EQ(ReadTextFile(run.home.File("legends/copper_pct.leg")), before);
}
