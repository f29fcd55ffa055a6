// The X11 window list read the way a window manager publishes it. A private
// X server stands in for the desktop, and the test plays the window manager:
// it makes the windows and sets the hints on them and on the root.

#include "app/core/hostplacement.h"
#include "platform/cx11windows.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CPrivateXServer {
    pid_t pid = -1;
    std::string display;
    CPrivateXServer()
    {
        if (access("/usr/bin/Xvfb", X_OK) != 0)
            return;
        const int number = 40 + static_cast<int>(getpid() % 400);
        display = ":" + std::to_string(number);
        pid = fork();
        if (pid == 0) {
            execl("/usr/bin/Xvfb", "Xvfb", display.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        struct stat st {};
        for (int i = 0; i < 250 && ::stat(socket.c_str(), &st) != 0; ++i)
            usleep(20000);
    }
    ~CPrivateXServer()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t atom = r->atom;
    free(r);
    return atom;
}

void Set(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type, const std::vector<uint32_t>& values)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, 32, static_cast<uint32_t>(values.size()), values.data());
}

// A flush only sends the requests; another connection may still be answered
// before they are carried out. A round trip makes sure they have been.
void Sync(xcb_connection_t* c)
{
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

TEST(X11Windows, TheStackingOrderProcessesAndFramesTheWindowManagerPublishes)
{
    CPrivateXServer server;
    if (server.pid <= 0)
        GTEST_SKIP() << "no Xvfb here";
    xcb_connection_t* c = xcb_connect(server.display.c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(c), 0);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto window = [&](int16_t x, int16_t y, uint16_t w, uint16_t h) {
        const xcb_window_t id = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, id, screen->root, x, y, w, h, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, 0, nullptr);
        return id;
    };
    const xcb_window_t own = window(0, 0, 300, 200), toolbox = window(400, 10, 120, 90), host = window(10, 30, 100, 50);
    const xcb_atom_t pid = Atom(c, "_NET_WM_PID");
    Set(c, own, pid, XCB_ATOM_CARDINAL, {static_cast<uint32_t>(getpid())});
    Set(c, toolbox, pid, XCB_ATOM_CARDINAL, {4242});
    Set(c, host, pid, XCB_ATOM_CARDINAL, {4242});
    Set(c, toolbox, Atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, {Atom(c, "_NET_WM_STATE_ABOVE")});
    // Fixed size: minimum and maximum both 100 x 50.
    Set(c, toolbox, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, {(1u << 4) | (1u << 5), 0, 0, 0, 0, 120, 90, 120, 90});
    Set(c, host, Atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, {2, 3, 20, 4});
    Sync(c);

    CX11Windows windows(server.display);
    ASSERT_TRUE(windows.Connected());
    EXPECT_FALSE(windows.KnowsWindows()); // no window manager has published anything yet

    Set(c, screen->root, Atom(c, "_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW, {host, own, toolbox});
    Set(c, screen->root, Atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, {toolbox});
    Sync(c);
    EXPECT_TRUE(windows.KnowsWindows());
    EXPECT_EQ(windows.ForegroundProcess(), 4242u);

    std::string listed;
    auto n = [](auto v) { return std::to_string(v); };
    for (const CTopLevelWindow& w : windows.TopLevelWindows())
        listed += n(w.id == host ? 1 : w.id == own ? 2 : 3) + " pid=" + n(w.processId) + " above=" + n(w.topMost) +
                  " sizable=" + n(w.sizingBorder) + " frame=" + n(w.frame.left) + "," + n(w.frame.top) + "," +
                  n(w.frame.right) + "," + n(w.frame.bottom) + "; ";
    EXPECT_EQ(listed, "3 pid=4242 above=1 sizable=0 frame=400,10,520,100; 2 pid=" + std::to_string(getpid()) +
                          " above=0 sizable=1 frame=0,0,300,200; 1 pid=4242 above=0 sizable=1 frame=8,10,113,84; ");
    // The host's main window is its first resizable one, frame included.
    EXPECT_EQ(FindHostFrame(windows, 4242), (CScreenRect{8, 10, 113, 84}));
    xcb_disconnect(c);
}
