#include "app/ui/ctessarinapp.h"

#include "app/core/hostplacement.h"
#include "app/ui/ctessarindlg.h"
#include "legend/cllegend.h"
#include "platform/cdesktopwindows.h"
#include "platform/cfilefacts.h"
#include "platform/cfileio.h"
#include "platform/cx11windows.h"
#include "platform/cinstancechecker.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QWidget>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace {

constexpr int kTrackingInterval = 1000;
constexpr int kForwardRetryInterval = 250;

// The one thing a second start passes on: a legend a file manager opens, by
// its full path, since the running editor works in another folder. Only our own
// switches are read: the hosts' passes (and the settings they consult) are the
// running editor's business, not this start's.
std::string LegendToForward(const std::vector<std::string>& args)
{
    CStartupOptions own;
    ApplyOwnSwitches(args, own);
    const std::string& path = own.openLegendPath;
    return path.empty() ? path : CFileFacts::AbsoluteNormal(path);
}

} // namespace

void RaiseMainWindow(QWidget& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

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
    const bool screenshot = FindScreenshot(m_args).given;
    CInstanceChecker checker;
    std::string failure;
    if (!screenshot && checker.ActivatePrevious(LegendToForward(m_args), 2000, &failure)) {
        if (failure.empty())
            return 0; // the running editor came up; this start ends
        // The user's legend did not open anywhere: a silent 0 would hide that.
        std::fprintf(stderr, "tessarin: %s\n", failure.c_str());
        return 1;
    }

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
    // Run until the window closes, as exec() would, but without making the
    // window modal: window managers keep a modal window without a parent above
    // everything, which would defeat dropping it behind its host.
    QEventLoop running;
    QObject::connect(&dlg, &QDialog::finished, &running, &QEventLoop::quit);
    dlg.show();
    if (dlg.isVisible())
        running.exec();
    return 0;
}

// In the order the window has always opened: placed over the host, recorded
// as the running editor, then the start-up conversion, the pen file and the list.
void CTessarinApp::OpenMainWindow(CTessarinDlg& dlg, CInstanceChecker* checker)
{
    const CStartupOptions& options = dlg.Options();
    std::optional<CScreenRect> frame;
    if (options.processIdGiven && !HostFrameFromAutomation(options.hostCode))
        frame = FindHostFrame(*m_windows, options.hostProcessId);
    const QSize size = dlg.size();
    const CPlacement placement = DecidePlacement(options, frame, size.width(), size.height());
    if (placement.move)
        dlg.move(placement.x, placement.y);
    // Keeping above the host only makes sense where the desktop says which
    // window is in front; elsewhere the window would sit above everything.
    // The window is not shown yet, so the flag costs nothing here; once shown
    // its stacking changes only through the window system.
    if (placement.topMost && m_windows->KnowsWindows()) {
        dlg.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        m_topMost = true;
    }
    if (options.processIdGiven) {
        m_hostSeenAlive = m_windows->ProcessRunning(options.hostProcessId);
        auto* timer = new QTimer(&dlg);
        QObject::connect(timer, &QTimer::timeout, &dlg, [this, &dlg] { Track(dlg); });
        timer->start(kTrackingInterval);
    }

    if (checker) {
        std::string why;
        m_forwarder = std::make_unique<CLegendForwarder>(dlg);
        if (!checker->Track(
                [this](const std::string& openPath) { m_forwarder->Activated(openPath); }, &why))
            std::fprintf(stderr, "tessarin: cannot record the running editor (%s); a second start opens another\n",
                         why.c_str());
    }

    // The program's own folder, however it was started (a bare name on PATH included).
    const std::string program = (QCoreApplication::applicationDirPath() + QStringLiteral("/tessarin")).toStdString();
    m_resources = PrepareStartup(options, program, dlg.Prompt());
    dlg.OpenLegends();
}

CLegendForwarder::CLegendForwarder(CTessarinDlg& dlg) : m_dlg(dlg), m_retry(new QTimer(&dlg))
{
    // Often enough that the legend seems to open as the question closes.
    m_retry->setInterval(kForwardRetryInterval);
    QObject::connect(m_retry, &QTimer::timeout, &dlg, [this] { OpenWaiting(); });
}

CLegendForwarder::~CLegendForwarder() = default; // the timer goes with the window

bool CLegendForwarder::Busy() const
{
    // Until the window is shown the start-up is still going; a question or
    // dialog of ours waits for its answer, and no legend changes under it.
    QWidget* modal = QApplication::activeModalWidget();
    return !m_dlg.isVisible() || (modal && modal != &m_dlg);
}

void CLegendForwarder::Activated(const std::string& openPath)
{
    if (!openPath.empty())
        m_waiting = openPath;
    QWidget* modal = QApplication::activeModalWidget();
    if (Busy() || m_retry->isActive()) {
        // What waits for the user is what comes up.
        if (modal && modal != &m_dlg)
            RaiseMainWindow(*modal);
        if (!m_waiting.empty() && !m_retry->isActive()) {
            m_quietTicks = 0;
            m_retry->start();
        }
        return;
    }
    RaiseMainWindow(m_dlg);
    if (!m_waiting.empty())
        Open(std::exchange(m_waiting, std::string()));
}

void CLegendForwarder::OpenWaiting()
{
    if (m_waiting.empty()) {
        m_retry->stop();
        return;
    }
    // The key that closed a dialog may still be in flight (its release, an
    // auto-repeat): were the "Save changes?" that opening may ask already up,
    // that key would answer it. So the legend waits until no dialog of ours
    // has been open for two ticks and the window has the user's attention again.
    if (Busy() || !m_dlg.isActiveWindow()) {
        m_quietTicks = 0;
        return;
    }
    if (++m_quietTicks < 2)
        return;
    m_retry->stop();
    Open(std::exchange(m_waiting, std::string()));
}

void CLegendForwarder::Open(const std::string& path)
{
    // Read first: a legend that cannot be read is reported and the legend
    // shown stays, unsaved changes and all.
    CLLLegend probe;
    if (const CFileResult read = probe.ReadLEG(path); !read.Ok()) {
        m_dlg.Prompt().ShowString(Str::CouldNotLoad, {path + ": " + read.Reason()});
        return;
    }
    // As the window's own close asks: save, drop or keep the legend shown.
    if (!m_dlg.Flow().Close())
        return;
    m_dlg.Flow().OpenFile(path);
    m_dlg.Flow().RefillList();
}

void CTessarinApp::Track(CTessarinDlg& dlg)
{
    const uint32_t host = dlg.Options().hostProcessId;
    const CTrackingDecision decision = DecideTracking(*m_windows, host, m_topMost);
    // Until the window is shown (a start-up message is open) there is nothing
    // to stack; the decision is taken again on the next tick.
    const bool stacks =
        decision.action != ETrackingAction::None && decision.action != ETrackingAction::Close;
    if (stacks && !dlg.isVisible())
        return;
    const uint64_t window = stacks ? static_cast<uint64_t>(dlg.winId()) : 0;
    switch (decision.action) {
    case ETrackingAction::None:
        break;
    case ETrackingAction::RaiseAndMakeTopMost:
        m_windows->SetTopMost(window, true);
        m_windows->Raise(window);
        break;
    case ETrackingAction::MakeTopMost:
        m_windows->SetTopMost(window, true);
        break;
    case ETrackingAction::DropBehindHost:
        m_windows->SetTopMost(window, false);
        m_windows->PlaceBehind(window, decision.behind);
        break;
    case ETrackingAction::Close:
        // Started by hand with a process that never ran: say why the window went.
        if (!m_hostSeenAlive && !m_hostGone)
            std::fprintf(stderr, "tessarin: host process %u is not running\n", host);
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
    if (decision.action != ETrackingAction::Close)
        m_hostSeenAlive = true;
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
