#include "app/NativeCaption.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(KESTRANO_HAVE_XCB)
#include <xcb/xcb.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

#if defined(KESTRANO_HAVE_XCB)
xcb_atom_t atomNamed(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}
#endif

} // namespace

void clearNativeCaption(QWidget &window)
{
    // Creates the native window now, with Qt's caption, so that nothing
    // overwrites the empty one when the window is shown.
    const WId id = window.winId();
#if defined(KESTRANO_HAVE_XCB)
    // Another platform (offscreen, Wayland) has no X11 window to change; the
    // offscreen platform may still answer for X11, without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto xid = xcb_window_t(id);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xid, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, 0, nullptr);
    const xcb_atom_t netName = atomNamed(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atomNamed(connection, "UTF8_STRING");
    if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xid, netName, utf8, 8, 0, nullptr);
    xcb_flush(connection);
#elif defined(Q_OS_WIN)
    SetWindowTextW(reinterpret_cast<HWND>(id), L"");
#else
    Q_UNUSED(id);
#endif
}
