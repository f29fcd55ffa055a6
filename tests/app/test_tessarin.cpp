// The editor program as a user or a host starts it.

#include "app/core/ceditorflow.h"
#include "app/ui/ctessarinapp.h"
#include "app/ui/ctessarindlg.h"
#include "support/runprocess.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>

#include <QApplication>
#include <QDialog>
#include <QSettings>
#include <QTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
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
    // A legend folder of copies of bundled samples, set as the editor's LUT_PATH.
    void LegendFolder(std::initializer_list<const char*> names) const
    {
        const std::string samples = std::string(std::getenv("TESSARIN_SOURCE_DIR")) + "/samples/";
        std::filesystem::create_directories(home.File("legends"));
        for (const char* name : names)
            std::filesystem::copy_file(samples + name, home.File(std::string("legends/") + name));
        std::filesystem::create_directories(home.File("config/Ferrolin"));
        WriteTextFile(home.File("config/Ferrolin/Common.conf"), "[General]\nLUT_PATH=" + home.File("legends") + "\n");
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

// The editor window Run shows in this process; null before it is shown.
CTessarinDlg* ShownEditor()
{
    CTessarinDlg* dlg = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = dynamic_cast<CTessarinDlg*>(w); d && d->isVisible())
            dlg = d;
    return dlg;
}

struct CApp {
    int argc = 1;
    char name[16] = "test_tessarin";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
};

// Waits for a started editor to end: how long it took, or nothing when it
// still runs after `limitMs`.
std::optional<std::chrono::milliseconds> EndsWithin(QProcess& process, int limitMs)
{
    const auto start = std::chrono::steady_clock::now();
    if (!process.waitForFinished(limitMs))
        return std::nullopt;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// The editor's own lines on stderr, without what Qt says about the platform.
std::string OwnLines(QProcess& process)
{
    std::string own;
    for (const QByteArray& line : process.readAllStandardError().split('\n'))
        if (line.startsWith("tessarin: "))
            own += line.toStdString() + "\n";
    return own;
}

// Two seconds, and one tick of the tracking timer for a loaded machine.
constexpr int kHostGoneLimitMs = 3000;

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

TEST(Tessarin, ClosesWithinTwoSecondsOfTheHostEndingEvenWithAMessageOpen)
{
    CApp app;
    CEditorRun run;
    // Plain, and with message 109 open for the pen file and the missing legend.
    for (const QStringList& switches : {QStringList{"-Vyrn"}, QStringList{"-Quarvex", "-name", "/no/such.leg"}}) {
        SCOPED_TRACE(switches.join(' ').toStdString());
        QProcess host;
        host.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        ASSERT_TRUE(host.waitForStarted());
        auto editor = run.Start(switches + QStringList{"-PID", QString::number(host.processId())});
        ASSERT_TRUE(run.Recorded());
        QThread::msleep(1500);
        EXPECT_EQ(editor->state(), QProcess::Running); // the host runs: the editor stays
        host.kill();
        host.waitForFinished();
        EXPECT_TRUE(EndsWithin(*editor, kHostGoneLimitMs));
        EXPECT_EQ(editor->exitCode(), 0);
        EXPECT_EQ(OwnLines(*editor), ""); // the host was there: nothing to explain
        QFile::remove(QString::fromStdString(run.home.File("{5C4E23C3-EEBE-4db3-97E3-63F6A63ED1CA}")));
    }
}

TEST(Tessarin, AHostThatWasNeverRunningIsNamedWhenTheWindowCloses)
{
    CApp app;
    CEditorRun run;
    QProcess gone;
    gone.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(gone.waitForStarted());
    const QString pid = QString::number(gone.processId());
    gone.kill();
    ASSERT_TRUE(gone.waitForFinished());
    auto editor = run.Start({"-Vyrn", "-PID", pid});
    EXPECT_TRUE(EndsWithin(*editor, kHostGoneLimitMs + 2000));
    EXPECT_EQ(editor->exitCode(), 0);
    EXPECT_EQ(OwnLines(*editor), "tessarin: host process " + pid.toStdString() + " is not running\n");
}

// In this process, so the legend can be changed and a question opened the way
// the user would, before the host ends.
TEST(Tessarin, TheHostEndingClosesAModifiedLegendWithoutAsking)
{
    CApp app;
    CEditorRun run;
    run.LegendFolder({"copper_pct.leg"});
    const std::string before = ReadTextFile(run.home.File("legends/copper_pct.leg"));
    const QProcessEnvironment env = run.Environment();
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        qputenv(name, env.value(QString::fromLatin1(name)).toLocal8Bit());

    QProcess host;
    host.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(host.waitForStarted());
    CTessarinApp tessarin({"tessarin", "-Vyrn", "-PID", std::to_string(host.processId())});
    std::chrono::steady_clock::time_point killed;
    bool modified = false, asked = false;
    QTimer::singleShot(1200, [&] {
        CTessarinDlg* dlg = ShownEditor();
        ASSERT_NE(dlg, nullptr);
        dlg->Flow().ChangeLegend([](CLLLegend& legend) { legend.m_Name += " (edited)"; });
        modified = dlg->Flow().IsModified();
        QTimer::singleShot(300, [&, dlg] {
            QWidget* question = QApplication::activeModalWidget();
            asked = question && question != dlg;
            host.kill();
            killed = std::chrono::steady_clock::now();
        });
        // Close asks "Save changes?": the host ends while the question is open.
        static_cast<QDialog*>(dlg)->reject();
    });
    // Were the editor to ask after the host ended, it would wait for ever.
    QTimer::singleShot(10000, [] {
        std::fputs("the editor still runs 10 s after the host ended\n", stderr);
        std::_Exit(1);
    });
    EXPECT_EQ(tessarin.Run(), 0);
    const auto took = std::chrono::steady_clock::now() - killed;
    host.waitForFinished();
    EXPECT_TRUE(modified);
    EXPECT_TRUE(asked);
    EXPECT_LT(took, std::chrono::milliseconds(kHostGoneLimitMs));
    EXPECT_EQ(ReadTextFile(run.home.File("legends/copper_pct.leg")), before);
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        qunsetenv(name);
}

// Run's own loop ends with the window and with nothing else: Cancel on the
// question keeps it running, and the record goes with the editor.
TEST(Tessarin, EscEndsTheRunAndCancelOnTheQuestionKeepsIt)
{
    CApp app;
    CEditorRun run;
    run.LegendFolder({"copper_pct.leg"});
    const QProcessEnvironment env = run.Environment();
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        qputenv(name, env.value(QString::fromLatin1(name)).toLocal8Bit());
    const std::string record = run.home.File("{5C4E23C3-EEBE-4db3-97E3-63F6A63ED1CA}");

    CTessarinApp tessarin({"tessarin"});
    std::string seen; // what each step found, in order
    auto answer = [&](QMessageBox::StandardButton button) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        seen += box ? " asked" : " not asked";
        if (box)
            box->button(button)->click();
    };
    auto esc = [](QWidget* window) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window, &press);
    };
    QTimer::singleShot(1000, [&] {
        CTessarinDlg* dlg = ShownEditor();
        ASSERT_NE(dlg, nullptr);
        seen += std::filesystem::exists(record) ? "recorded" : "not recorded";
        dlg->Flow().ChangeLegend([](CLLLegend& legend) { legend.m_Name += " (edited)"; });
        QTimer::singleShot(300, [&] { answer(QMessageBox::Cancel); });
        QTimer::singleShot(800, [&, dlg] {
            seen += dlg->isVisible() ? " runs" : " ended";
            QTimer::singleShot(300, [&] { answer(QMessageBox::No); });
            esc(dlg);
        });
        esc(dlg);
    });
    QTimer::singleShot(10000, [] {
        std::fputs("the editor still runs 10 s after Esc and No\n", stderr);
        std::_Exit(1);
    });
    EXPECT_EQ(tessarin.Run(), 0);
    EXPECT_EQ(seen, "recorded asked runs asked");
    EXPECT_FALSE(std::filesystem::exists(record));
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        qunsetenv(name);
}

TEST(Tessarin, TheRaisedWindowComesBackFromMinimised)
{
    CApp app;
    QDialog window;
    window.showMinimized();
    ASSERT_TRUE(window.windowState() & Qt::WindowMinimized);
    RaiseMainWindow(window);
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(window.isVisible());
}

// A file manager opens a second legend while the editor runs: the running
// editor opens it. What it shows is seen in the profile's "LastLegend", which
// the running editor writes each time it leaves a legend for another.
TEST(Tessarin, ALegendGivenToASecondStartOpensInTheRunningEditor)
{
    CApp app;
    CEditorRun run;
    run.LegendFolder({"copper_pct.leg", "gold_ppm.leg", "soil_ph.leg"});
    auto first = run.Start({"-name", QString::fromStdString(run.home.File("legends/soil_ph.leg"))});
    ASSERT_TRUE(run.Recorded());
    QThread::msleep(500);
    auto lastLegend = [&] {
        QSettings profile(QString::fromStdString(run.home.File("config/Ferrolin/Tessarin.conf")), QSettings::IniFormat);
        return profile.value(QStringLiteral("Settings/LastLegend")).toString().toStdString();
    };
    struct Step {
        QString argument; // as the file manager passes it, from the legends folder
        std::string left; // the legend the running editor showed before
    };
    const Step steps[] = {
        {QStringLiteral("gold_ppm.leg"), "soil_ph"},
        {QStringLiteral("./copper_pct.leg"), "gold_ppm"},
        {QStringLiteral("soil_ph.leg"), "copper_pct"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.argument.toStdString());
        QProcess second;
        second.setProcessEnvironment(run.Environment());
        second.setWorkingDirectory(QString::fromStdString(run.home.File("legends")));
        second.start(QString::fromStdString(ProjectBinary("tessarin")), {step.argument, "-edit"});
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitCode(), 0);
        std::string left;
        for (int i = 0; i < 60 && (left = lastLegend()) != step.left; ++i)
            QThread::msleep(50);
        EXPECT_EQ(left, step.left);
    }
    EXPECT_EQ(first->state(), QProcess::Running);
    first->kill();
    first->waitForFinished();
}
