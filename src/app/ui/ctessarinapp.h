#pragma once
// The application: one running editor per user, the profile under the host's
// key, and the main window run until it closes.

#include "app/core/startupsequence.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class CInstanceChecker;
class CTessarinDlg;
class CWindowSystem;
class QTimer;
class QWidget;

// Brings the window to the front, restored when minimised: what a second start
// asks of the running editor.
void RaiseMainWindow(QWidget& window);

// Opens the legends that later starts forward (a file manager opening one).
// One that arrives while a question or dialog of ours is open, or before the
// window is shown, waits until it can open: the user asked for it, so it is
// never dropped. It opens two quiet ticks after the last dialog closed, once
// the window is active again. A later one replaces one still waiting, as
// opening both would only show the last.
class CLegendForwarder {
public:
    explicit CLegendForwarder(CTessarinDlg& dlg);
    ~CLegendForwarder();
    CLegendForwarder(const CLegendForwarder&) = delete;
    CLegendForwarder& operator=(const CLegendForwarder&) = delete;

    // A later start asked: raise what is in front, and open the legend it
    // forwards ("" for none) now or once nothing stands in the way.
    void Activated(const std::string& openPath);
    // The legend that waits for a question to close; "" for none.
    const std::string& Waiting() const { return m_waiting; }

private:
    bool Busy() const;
    void OpenWaiting(); // on each tick of the retry timer
    void Open(const std::string& path);

    CTessarinDlg& m_dlg;
    std::string m_waiting;
    int m_quietTicks = 0; // ticks in a row with no dialog of ours open
    QTimer* m_retry;      // a child of the window
};

class CTessarinApp {
public:
    explicit CTessarinApp(std::vector<std::string> args);
    ~CTessarinApp();
    // The process's exit code.
    int Run();

private:
    // checker: records this editor as the running one (none for a screenshot).
    void OpenMainWindow(CTessarinDlg& dlg, CInstanceChecker* checker);
    void Track(CTessarinDlg& dlg);
    int WriteScreenshot(CTessarinDlg& dlg, const std::string& path);

    std::vector<std::string> m_args;
    std::unique_ptr<CWindowSystem> m_windows;
    bool m_topMost = false;
    bool m_hostGone = false;
    bool m_hostSeenAlive = false; // at start or on any tick: a host that was there

    CStartupResources m_resources;
    std::unique_ptr<CLegendForwarder> m_forwarder;
};
