#include "window_manager.h"

#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace platform::x11 {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit items of a property, empty when it is missing or of another type.
std::vector<uint32_t> property32(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                 xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* items = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {items, items + xcb_get_property_value_length(reply.get()) / 4};
}

// The EWMH check window of a running window manager, or none. A window
// manager that has gone leaves a stale root property behind; its check
// window then no longer names itself.
xcb_window_t supportingWmCheck(xcb_connection_t* c) {
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const auto fromRoot = property32(c, rootWindow(c), check, XCB_ATOM_WINDOW);
    if (fromRoot.empty())
        return XCB_WINDOW_NONE;
    const auto fromItself = property32(c, fromRoot[0], check, XCB_ATOM_WINDOW);
    return !fromItself.empty() && fromItself[0] == fromRoot[0] ? fromRoot[0]
                                                               : xcb_window_t{XCB_WINDOW_NONE};
}

bool wmSupports(xcb_connection_t* c, const char* name) {
    if (supportingWmCheck(c) == XCB_WINDOW_NONE)
        return false;
    const xcb_atom_t wanted = atom(c, name);
    const auto supported = property32(c, rootWindow(c), atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    for (uint32_t a : supported) {
        if (a == wanted)
            return true;
    }
    return false;
}

// _NET_WM_MOVERESIZE directions and the source "normal application".
constexpr uint32_t MoveResizeMove = 8;
constexpr uint32_t MoveResizeCancel = 11;
constexpr uint32_t SourceApplication = 1;

void sendMoveResize(xcb_connection_t* c, QWindow* window, QPoint rootPos, uint32_t direction) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = atom(c, "_NET_WM_MOVERESIZE");
    message.data.data32[0] = static_cast<uint32_t>(rootPos.x());
    message.data.data32[1] = static_cast<uint32_t>(rootPos.y());
    message.data.data32[2] = direction;
    message.data.data32[3] = XCB_BUTTON_INDEX_1;
    message.data.data32[4] = SourceApplication;
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

} // namespace

bool available() {
    return connection() != nullptr;
}

QString windowManagerName() {
    xcb_connection_t* c = connection();
    if (!c)
        return {};
    const xcb_window_t check = supportingWmCheck(c);
    if (check == XCB_WINDOW_NONE)
        return {};
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, check, atom(c, "_NET_WM_NAME"), utf8, 0, 256), nullptr));
    if (!reply || reply->format != 8 || reply->type != utf8)
        return {};
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

MoveStart startMove(QWindow* window, QPoint pressPos) {
    xcb_connection_t* c = connection();
    if (!c || !window)
        return MoveStart::Unsupported;
    // A window manager told to move a window whose button is already up
    // waits for a release that never comes, and the window sticks to the
    // pointer. Ask the server, not the queue of events still to be read.
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, rootWindow(c)), nullptr));
    if (!pointer || !(pointer->mask & XCB_BUTTON_MASK_1))
        return MoveStart::ButtonReleased;
    if (!wmSupports(c, "_NET_WM_MOVERESIZE"))
        return MoveStart::Unsupported;
    // The window manager takes the pointer over; ours is the implicit grab of
    // the press.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    const qreal ratio = window->devicePixelRatio();
    sendMoveResize(c, window, (QPointF(pressPos) * ratio).toPoint(), MoveResizeMove);
    return MoveStart::Started;
}

void cancelMove(QWindow* window) {
    if (xcb_connection_t* c = connection(); c && window)
        sendMoveResize(c, window, {}, MoveResizeCancel);
}

void activate(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window || !wmSupports(c, "_NET_ACTIVE_WINDOW"))
        return;
    constexpr uint32_t SourcePager = 2;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = atom(c, "_NET_ACTIVE_WINDOW");
    message.data.data32[0] = SourcePager;
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = XCB_WINDOW_NONE; // no window of ours is active
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

void setSkipTaskbar(QWindow* window) {
    xcb_connection_t* c = connection();
    if (!c || !window)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t stateAtom = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    std::vector<uint32_t> state = property32(c, id, stateAtom, XCB_ATOM_ATOM);
    for (uint32_t a : state) {
        if (a == skip)
            return;
    }
    state.push_back(skip);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, stateAtom, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(state.size()), state.data());
    xcb_flush(c);
}

void setWindowTypes(QWindow* window, std::initializer_list<const char*> types) {
    xcb_connection_t* c = connection();
    if (!c || !window)
        return;
    std::vector<xcb_atom_t> atoms;
    for (const char* type : types)
        atoms.push_back(atom(c, type));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                        atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(c);
}

} // namespace platform::x11
