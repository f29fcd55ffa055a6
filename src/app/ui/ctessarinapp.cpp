#include "app/ui/ctessarinapp.h"

#include "app/core/hostplacement.h"
#include "app/ui/ctessarindlg.h"
#include "platform/cdesktopwindows.h"
#include "platform/cfileio.h"
#include "platform/cx11windows.h"
#include "platform/cinstancechecker.h"
#include "platform/csettingsstore.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kTrackingInterval = 1000;

bool WantsScreenshot(const std::vector<std::string>& args)
{
    for (size_t i = 1; i < args.size(); ++i)
        if (args[i] == "--screenshot")
            return true;
    return false;
}

} // namespace

CTessarinApp::CTessarinApp(std::vector<std::string> args) : m_args(std::move(args))
{
    // Where an X11 window manager publishes the stacking order, the editor
    // follows its host in it; elsewhere it only notices the host ending.
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        auto x11 = std::make_unique<CX11Windows>();
        if (x11->Connected())
            m_windows = std::move(x11);
    }
    if (!m_windows)
        m_windows = std::make_unique<CDesktopWindows>();
}

CTessarinApp::~CTessarinApp() = default;

int CTessarinApp::Run()
{
    // A picture for the documentation is no second editor: it neither raises a
    // running one nor stands in its way.
    const bool screenshot = WantsScreenshot(m_args);
    CInstanceChecker checker;
    if (!screenshot && checker.ActivatePrevious())
        return 0; // the running editor came up; this start ends unread

    const CStartupOptions options = ParseStartupArguments(m_args);
    CSettingsStore::SetProfileProduct(HostProduct(options.hostCode));
    // A picture for the documentation is taken unattended: messages go to
    // stderr instead of waiting for a click.
    CStderrPrompt unattended;
    CTessarinDlg dlg(options, screenshot ? &unattended : nullptr);
    OpenMainWindow(dlg, screenshot ? nullptr : &checker);
    if (m_hostGone)
        return 0;
    if (screenshot)
        return WriteScreenshot(dlg, options.screenshotPath);
    dlg.exec();
    return 0;
}

// In the order the window has always opened: placed over the host, recorded
// as the running editor, then the start-up conversion, the pen file and the list.
void CTessarinApp::OpenMainWindow(CTessarinDlg& dlg, CInstanceChecker* checker)
{
    const CStartupOptions& options = dlg.Options();
    if (options.processIdGiven) {
        std::optional<CScreenRect> frame;
        if (!HostFrameFromAutomation(options.hostCode))
            frame = FindHostFrame(*m_windows, options.hostProcessId);
        const QSize size = dlg.size();
        const CPlacement placement = DecidePlacement(options, frame, size.width(), size.height());
        if (placement.move)
            dlg.move(placement.x, placement.y);
        // Keeping above the host only makes sense where the desktop says which
        // window is in front; elsewhere the window would sit above everything.
        if (m_windows->KnowsWindows()) {
            dlg.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            m_topMost = true;
        }
        auto* timer = new QTimer(&dlg);
        QObject::connect(timer, &QTimer::timeout, &dlg, [this, &dlg] { Track(dlg); });
        timer->start(kTrackingInterval);
    }

    if (checker) {
        std::string why;
        if (!checker->Track(
                [&dlg] {
                    dlg.setWindowState(dlg.windowState() & ~Qt::WindowMinimized);
                    dlg.show();
                    dlg.raise();
                    dlg.activateWindow();
                },
                &why))
            std::fprintf(stderr, "tessarin: cannot record the running editor (%s); a second start opens another\n",
                         why.c_str());
    }

    // The program's own folder, however it was started (a bare name on PATH included).
    const std::string program = (QCoreApplication::applicationDirPath() + QStringLiteral("/tessarin")).toStdString();
    m_resources = PrepareStartup(options, program, dlg.Prompt());
    dlg.OpenLegends();
}

void CTessarinApp::Track(CTessarinDlg& dlg)
{
    const CTrackingDecision decision = DecideTracking(*m_windows, dlg.Options().hostProcessId, m_topMost);
    switch (decision.action) {
    case ETrackingAction::None:
        break;
    case ETrackingAction::RaiseAndMakeTopMost:
        dlg.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        dlg.show();
        dlg.raise();
        break;
    case ETrackingAction::MakeTopMost:
        dlg.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        dlg.show();
        break;
    case ETrackingAction::DropBehindHost:
        dlg.setWindowFlag(Qt::WindowStaysOnTopHint, false);
        dlg.show();
        dlg.lower();
        break;
    case ETrackingAction::Close:
        // The host has gone: nothing is left to save the legend for, so no
        // question stays open either.
        m_hostGone = true;
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (modal == &dlg)
                break;
            modal->close();
        }
        dlg.CloseWithoutAsking();
        break;
    }
    m_topMost = decision.topMostAfter;
}

int CTessarinApp::WriteScreenshot(CTessarinDlg& dlg, const std::string& path)
{
    dlg.show();
    QApplication::processEvents();
    const QPixmap picture = dlg.grab();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (path.empty() || !picture.save(&buffer, "PNG")) {
        std::fprintf(stderr, "tessarin: cannot write the screenshot %s\n", path.empty() ? "(no file name given)" : path.c_str());
        return 1;
    }
    // Saved like a legend: a FIFO or a device is refused at once, a failed
    // write leaves an existing picture as it was.
    CAtomicFileWriter writer(path);
    if (!writer.IsOpen() || !writer.Write(std::string_view(png.constData(), static_cast<size_t>(png.size()))) ||
        !writer.Commit()) {
        std::fprintf(stderr, "tessarin: cannot write %s: %s\n", path.c_str(), writer.Result().Reason().c_str());
        return 1;
    }
    return 0;
}
