#include "ui/window_to_front.h"

#include <QGuiApplication>

#if defined(ORBISTA_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>
#endif

namespace orbista {

#if defined(ORBISTA_HAVE_XCB) && QT_CONFIG(xcb)

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using Owned = std::unique_ptr<Reply, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a window's property; empty when it has none.
std::vector<uint32_t> Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                               xcb_atom_t type) {
    if (name == XCB_ATOM_NONE) {
        return {};
    }
    const Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::vector<xcb_window_t> ChildrenOf(xcb_connection_t* connection, xcb_window_t root) {
    const Owned<xcb_query_tree_reply_t> reply(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
    if (!reply) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(reply.get());
    return {children, children + xcb_query_tree_children_length(reply.get())};
}

bool IsShown(xcb_connection_t* connection, xcb_window_t window) {
    const Owned<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

void AskWindowManagerToActivate(xcb_connection_t* connection, xcb_window_t root,
                                xcb_window_t window, xcb_atom_t activeWindow) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = activeWindow;
    event.data.data32[0] = 2;  // asked for by the user, as a pager would
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

}  // namespace

void BringProcessWindowToFront(int64_t pid) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || pid <= 0) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t processId = Atom(connection, "_NET_WM_PID");
    // A window manager lists the windows it manages, minimised ones included; without one the
    // program's windows are the root's children, of which only a shown one may be raised.
    const std::vector<uint32_t> managed =
        Property(connection, root, Atom(connection, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    const bool windowManager = !managed.empty();
    const std::vector<xcb_window_t> windows =
        windowManager ? managed : ChildrenOf(connection, root);
    const xcb_atom_t activeWindow = Atom(connection, "_NET_ACTIVE_WINDOW");
    for (const xcb_window_t window : windows) {
        const std::vector<uint32_t> owner =
            Property(connection, window, processId, XCB_ATOM_CARDINAL);
        if (owner.empty() || owner[0] != static_cast<uint32_t>(pid)) {
            continue;
        }
        if (windowManager) {
            AskWindowManagerToActivate(connection, root, window, activeWindow);
        } else if (IsShown(connection, window)) {
            const uint32_t above = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
            xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        }
    }
    xcb_flush(connection);
}

#else

void BringProcessWindowToFront(int64_t /*pid*/) {}

#endif

}  // namespace orbista
