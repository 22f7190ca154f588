#include "platform/WindowManagerMove.h"

#include <QGuiApplication>
#include <QWindow>
#include <xcb/xcb.h>

namespace
{

// The window manager's move message (EWMH) and its "cancel" direction.
constexpr char MoveResizeAtom[] = "_NET_WM_MOVERESIZE";
constexpr quint32 MoveResizeCancel = 11;
constexpr quint32 LeftButton = 1;

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, true, static_cast<quint16>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return atom;
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const xcb_window_t root = reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
    free(reply);
    return root;
}

} // namespace

namespace WindowManagerMove
{

bool Start(QWindow& window)
{
    return window.startSystemMove();
}

void Cancel(QWindow& window)
{
    // Wayland compositors take the pointer with the request itself; only X11 can race.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t moveResize = atomNamed(connection, MoveResizeAtom);
    const xcb_window_t root = rootOf(connection, id);
    if (moveResize == XCB_ATOM_NONE || root == XCB_WINDOW_NONE)
        return;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = moveResize;
    message.data.data32[2] = MoveResizeCancel;
    message.data.data32[3] = LeftButton;
    xcb_send_event(connection, false, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace WindowManagerMove
