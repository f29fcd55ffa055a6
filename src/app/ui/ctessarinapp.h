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

class CTessarinApp {
public:
    explicit CTessarinApp(std::vector<std::string> args);
    ~CTessarinApp();
    // The process's exit code.
    int Run();

private:
    // checker: records this editor as the running one (none for a screenshot).
    void OpenMainWindow(CTessarinDlg& dlg, CInstanceChecker* checker);
    // A later start asked: raise the window, and open the legend it forwards.
    void Activated(CTessarinDlg& dlg, const std::string& openPath);
    void Track(CTessarinDlg& dlg);
    int WriteScreenshot(CTessarinDlg& dlg, const std::string& path);

    std::vector<std::string> m_args;
    std::unique_ptr<CWindowSystem> m_windows;
    bool m_topMost = false;
    bool m_hostGone = false;
    bool m_hostSeenAlive = false; // at start or on any tick: a host that was there

    CStartupResources m_resources;
};
