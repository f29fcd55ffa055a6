// A private X server stands in for the desktop, and the test plays its window manager.

#include "platform/cx11windows.h"
#include "platform/scratchfiles.h"
#include "support/runprocess.h"

#include <xcb/xcb.h>

#include <sys/prctl.h>

namespace {

// The server and the test's connection to it go when the test ends, however it ends.
struct CPrivateXServer {
    pid_t pid = -1;
    std::string display;
    xcb_connection_t* c = nullptr;
    const xcb_screen_t* screen = nullptr;
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
        c = xcb_connect(display.c_str(), nullptr);
        screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    }
    bool Up() const { return pid > 0 && xcb_connection_has_error(c) == 0; }
    ~CPrivateXServer()
    {
        if (c)
            xcb_disconnect(c);
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
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, type, 32, static_cast<uint32_t>(values.size()),
                        values.data());
}

// A round trip: a flush alone may let another connection be answered before the requests ran.
void Sync(xcb_connection_t* c)
{
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

// The window list is read back; then the editor asks for its place at each change of the program in front.
TEST(X11Windows, TheWindowListIsReadAndTheEditorFollowsItsHostThroughTheWindowManager)
{
    CPrivateXServer server;
    if (server.pid <= 0)
        GTEST_SKIP() << "no Xvfb here";
    ASSERT_TRUE(server.Up());
    xcb_connection_t* c = server.c;
    const xcb_window_t root = server.screen->root;
    // A window manager hears the requests clients send to the root window.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID"), stacking = Atom(c, "_NET_CLIENT_LIST_STACKING"),
                     active = Atom(c, "_NET_ACTIVE_WINDOW"), state = Atom(c, "_NET_WM_STATE"),
                     above = Atom(c, "_NET_WM_STATE_ABOVE"), restack = Atom(c, "_NET_RESTACK_WINDOW");
    const pid_t host = fork();
    if (host == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlive a test that stopped early
        pause();
        _exit(0);
    }
    const uint32_t hostPid = static_cast<uint32_t>(host);
    auto window = [&](int16_t x, int16_t y, uint16_t w, uint16_t h, uint32_t pid) {
        const xcb_window_t id = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, id, root, x, y, w, h, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          server.screen->root_visual, 0, nullptr);
        Set(c, id, pidAtom, XCB_ATOM_CARDINAL, {pid});
        return id;
    };
    const xcb_window_t own = window(0, 0, 300, 200, static_cast<uint32_t>(getpid())),
                       toolbox = window(400, 10, 120, 90, hostPid), hostWindow = window(10, 30, 100, 50, hostPid);
    Set(c, toolbox, state, XCB_ATOM_ATOM, {above});
    // A fixed size (minimum and maximum 120 x 90), and a range of sizes: resizable.
    Set(c, toolbox, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS,
        {(1u << 4) | (1u << 5), 0, 0, 0, 0, 120, 90, 120, 90});
    Set(c, hostWindow, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS,
        {(1u << 4) | (1u << 5), 0, 0, 0, 0, 90, 50, 800, 50});
    Set(c, hostWindow, Atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, {2, 3, 20, 4});
    Sync(c);
    {
        CX11Windows windows(server.display);
        ASSERT_TRUE(windows.Connected());
        EXPECT_FALSE(windows.KnowsWindows()); // no window manager has published anything yet
        Set(c, root, stacking, XCB_ATOM_WINDOW, {hostWindow, own, toolbox});
        Set(c, root, active, XCB_ATOM_WINDOW, {toolbox});
        Sync(c);
        EXPECT_TRUE(windows.KnowsWindows());
        EXPECT_EQ(windows.ForegroundProcess(), hostPid);
        // Each window from the top: own/toolbox, host's pid, above, sizable, frame left top right bottom.
        std::string listed;
        for (const CTopLevelWindow& w : windows.TopLevelWindows())
            listed += Join((w.id == own) + 2 * (w.id == toolbox), w.processId == hostPid, w.topMost, w.sizingBorder,
                           w.frame.left, w.frame.top, w.frame.right, w.frame.bottom) +
                      "; ";
        EXPECT_EQ(listed, "2 1 1 0 400 10 520 100; 1 0 0 1 0 0 300 200; 0 1 0 1 8 10 113 84; ");
    }
    Set(c, root, stacking, XCB_ATOM_WINDOW, {hostWindow});
    Set(c, root, active, XCB_ATOM_WINDOW, {hostWindow});
    Sync(c);
    while (xcb_generic_event_t* e = xcb_poll_for_event(c))
        free(e);
    CTempDir home;
    const pid_t editor = fork();
    if (editor == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("DISPLAY", server.display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("XDG_RUNTIME_DIR", home.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
        const std::string program = ProjectBinary("tessarin"), pid = std::to_string(host);
        execl(program.c_str(), "tessarin", "-Vyrn", "-PID", pid.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    auto stillRuns = [&] { return waitpid(editor, nullptr, WNOHANG) == 0; };
    // The editor's window is the first one mapped.
    xcb_window_t editorWindow = 0;
    for (int i = 0; i < 1000 && !editorWindow && stillRuns(); ++i) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (e && (e->response_type & 0x7f) == XCB_MAP_NOTIFY)
            editorWindow = reinterpret_cast<xcb_map_notify_event_t*>(e)->window;
        else if (!e)
            usleep(10000);
        free(e);
    }
    ASSERT_NE(editorWindow, 0u) << "the editor never showed its window";
    // Kept above its host, but no modal window: a window manager keeps those above everything.
    auto* r = xcb_get_property_reply(c, xcb_get_property(c, 0, editorWindow, state, XCB_ATOM_ATOM, 0, 32), nullptr);
    const auto* states = static_cast<const uint32_t*>(xcb_get_property_value(r));
    const int count = xcb_get_property_value_length(r) / 4;
    const xcb_atom_t modal = Atom(c, "_NET_WM_STATE_MODAL");
    EXPECT_EQ(Join(std::count(states, states + count, above), std::count(states, states + count, modal)), "1 0");
    free(r);
    Set(c, root, stacking, XCB_ATOM_WINDOW, {hostWindow, editorWindow});
    Sync(c);
    // The next stacking request about the editor's window; "" when none comes within 1.5 ticks.
    auto next = [&]() -> std::string {
        for (int waited = 0; waited < 2500; waited += 10) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
                std::string said;
                const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e); // all events are 32 bytes
                const uint32_t* d = m->data.data32;
                const bool ours = (e->response_type & 0x7f) == XCB_CLIENT_MESSAGE && m->window == editorWindow;
                auto sibling = [&](uint32_t w) { return w == hostWindow ? "host" : w == 0 ? "none" : "other"; };
                if (ours && m->type == state && d[1] == above)
                    said = d[0] == 1 ? "add above" : d[0] == 0 ? "remove above" : "toggle above";
                else if (ours && m->type == restack)
                    said = std::string(d[2] == 1 ? "below " : d[2] == 0 ? "above " : "? ") + sibling(d[1]);
                free(e);
                if (!said.empty())
                    return said;
            }
            usleep(10000);
        }
        return "";
    };
    const std::pair<xcb_window_t, std::vector<std::string>> steps[] = {
        {XCB_WINDOW_NONE, {"remove above", "below host"}}, // another program in front: directly behind the host
        {hostWindow, {"add above", "above none"}},         // the host in front: on top and above it
        {XCB_WINDOW_NONE, {"remove above", "below host"}},
        {editorWindow, {"add above"}}, // the editor in front: above, where it is
    };
    for (const auto& [inFront, requests] : steps) {
        Set(c, root, active, XCB_ATOM_WINDOW, {inFront});
        Sync(c);
        for (const std::string& request : requests)
            EXPECT_EQ(next(), request) << inFront;
        EXPECT_TRUE(stillRuns());
    }
    EXPECT_EQ(next(), ""); // in front and above already: nothing more to ask
    kill(editor, SIGKILL);
    waitpid(editor, nullptr, 0);
    kill(host, SIGKILL);
    waitpid(host, nullptr, 0);
}
