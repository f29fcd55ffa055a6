#include "platform/cx11windows.h"

#include "platform/cwinprocess.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

struct CX11Windows::CConnection {
    xcb_connection_t* conn = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t stacking = 0, active = 0, pid = 0, state = 0, above = 0, frameExtents = 0, restack = 0;

    ~CConnection()
    {
        if (conn)
            xcb_disconnect(conn);
    }

    xcb_atom_t Atom(const char* name) const
    {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    // The 32-bit items of a property; empty when it is not set.
    std::vector<uint32_t> Property(xcb_window_t window, xcb_atom_t property) const
    {
        std::vector<uint32_t> items;
        if (property == XCB_ATOM_NONE)
            return items;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            conn, xcb_get_property(conn, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 65536), nullptr);
        if (reply && reply->format == 32) {
            const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            items.assign(values, values + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return items;
    }

    // Resizable unless its size hints fix the size (minimum equal to maximum).
    bool Resizable(xcb_window_t window) const
    {
        const std::vector<uint32_t> hints = Property(window, XCB_ATOM_WM_NORMAL_HINTS);
        if (hints.size() < 9)
            return true;
        const uint32_t flags = hints[0];
        const bool minGiven = flags & (1u << 4), maxGiven = flags & (1u << 5);
        return !(minGiven && maxGiven && hints[5] == hints[7] && hints[6] == hints[8]);
    }

    // A request to the window manager: a client message on the root window,
    // which only a window manager (listening for substructure changes) reads.
    void SendToManager(xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5>& data) const
    {
        if (type == XCB_ATOM_NONE)
            return;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = type;
        std::copy(data.begin(), data.end(), event.data.data32);
        xcb_send_event(conn, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(conn);
    }

    CScreenRect Frame(xcb_window_t window) const
    {
        CScreenRect rect;
        xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(conn, xcb_get_geometry(conn, window), nullptr);
        xcb_translate_coordinates_reply_t* origin =
            xcb_translate_coordinates_reply(conn, xcb_translate_coordinates(conn, window, root, 0, 0), nullptr);
        if (geometry && origin) {
            rect = {origin->dst_x, origin->dst_y, origin->dst_x + geometry->width, origin->dst_y + geometry->height};
            // The decorations the window manager draws around it belong to its frame.
            const std::vector<uint32_t> extents = Property(window, frameExtents);
            if (extents.size() == 4) {
                rect.left -= static_cast<int32_t>(extents[0]);
                rect.right += static_cast<int32_t>(extents[1]);
                rect.top -= static_cast<int32_t>(extents[2]);
                rect.bottom += static_cast<int32_t>(extents[3]);
            }
        }
        std::free(geometry);
        std::free(origin);
        return rect;
    }
};

CX11Windows::CX11Windows(const std::string& display) : m_x(std::make_unique<CConnection>())
{
    int screenNumber = 0;
    m_x->conn = xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber);
    if (xcb_connection_has_error(m_x->conn)) {
        xcb_disconnect(m_x->conn);
        m_x->conn = nullptr;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_x->conn));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    m_x->root = screens.data->root;
    m_x->stacking = m_x->Atom("_NET_CLIENT_LIST_STACKING");
    m_x->active = m_x->Atom("_NET_ACTIVE_WINDOW");
    m_x->pid = m_x->Atom("_NET_WM_PID");
    m_x->state = m_x->Atom("_NET_WM_STATE");
    m_x->above = m_x->Atom("_NET_WM_STATE_ABOVE");
    m_x->frameExtents = m_x->Atom("_NET_FRAME_EXTENTS");
    m_x->restack = m_x->Atom("_NET_RESTACK_WINDOW");
}

CX11Windows::~CX11Windows() = default;

bool CX11Windows::Connected() const
{
    return m_x->conn != nullptr;
}

bool CX11Windows::KnowsWindows() const
{
    // A window manager that keeps the stacking list keeps the active window too.
    return Connected() && !m_x->Property(m_x->root, m_x->stacking).empty();
}

uint32_t CX11Windows::ForegroundProcess() const
{
    if (!Connected())
        return 0;
    const std::vector<uint32_t> active = m_x->Property(m_x->root, m_x->active);
    if (active.empty() || active[0] == XCB_WINDOW_NONE)
        return 0;
    const std::vector<uint32_t> pid = m_x->Property(active[0], m_x->pid);
    return pid.empty() ? 0 : pid[0];
}

std::vector<CTopLevelWindow> CX11Windows::TopLevelWindows() const
{
    std::vector<CTopLevelWindow> windows;
    if (!Connected())
        return windows;
    std::vector<uint32_t> stacking = m_x->Property(m_x->root, m_x->stacking);
    // The list runs from the bottom of the stack up; ours starts at the top.
    std::reverse(stacking.begin(), stacking.end());
    for (uint32_t id : stacking) {
        CTopLevelWindow w;
        w.id = id;
        const std::vector<uint32_t> pid = m_x->Property(id, m_x->pid);
        w.processId = pid.empty() ? 0 : pid[0];
        const std::vector<uint32_t> state = m_x->Property(id, m_x->state);
        w.topMost = std::find(state.begin(), state.end(), m_x->above) != state.end();
        w.sizingBorder = m_x->Resizable(id);
        w.frame = m_x->Frame(id);
        windows.push_back(w);
    }
    return windows;
}

bool CX11Windows::ProcessRunning(uint32_t processId) const
{
    return CWinProcess::IsRunning(processId);
}

uint32_t CX11Windows::OwnProcess() const
{
    return CWinProcess::Own();
}

namespace {

// The extended hints' words: _NET_WM_STATE actions, the source of a request
// (1 an application, 2 a pager or the like), and the X stack modes.
constexpr uint32_t kStateRemove = 0, kStateAdd = 1;
constexpr uint32_t kFromApplication = 1, kFromPager = 2;
constexpr uint32_t kStackAbove = 0, kStackBelow = 1;

} // namespace

void CX11Windows::SetTopMost(uint64_t window, bool topMost)
{
    if (Connected())
        m_x->SendToManager(static_cast<xcb_window_t>(window), m_x->state,
                           {topMost ? kStateAdd : kStateRemove, m_x->above, 0, kFromApplication, 0});
}

void CX11Windows::Raise(uint64_t window)
{
    if (Connected())
        m_x->SendToManager(static_cast<xcb_window_t>(window), m_x->restack,
                           {kFromPager, XCB_WINDOW_NONE, kStackAbove, 0, 0});
}

void CX11Windows::PlaceBehind(uint64_t window, std::optional<uint64_t> sibling)
{
    if (Connected())
        m_x->SendToManager(static_cast<xcb_window_t>(window), m_x->restack,
                           {kFromPager, sibling ? static_cast<uint32_t>(*sibling) : uint32_t{XCB_WINDOW_NONE}, kStackBelow, 0, 0});
}
