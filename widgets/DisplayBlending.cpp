#include "DisplayBlending.h"

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {
// A compositing manager owns the selection _NET_WM_CM_S<screen>.
bool x11CompositorRunning()
{
    int screen = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        // Unknown: keep the translucent look rather than guess.
        return true;
    }
    const QByteArray name = QByteArrayLiteral("_NET_WM_CM_S") + QByteArray::number(screen);
    bool running = false;
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, quint16(name.size()), name.constData()),
        nullptr);
    if (atom && atom->atom != XCB_ATOM_NONE) {
        xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        running = owner && owner->owner != XCB_NONE;
        std::free(owner);
    }
    std::free(atom);
    xcb_disconnect(connection);
    return running;
}
}

bool DisplayBlending::available()
{
    // Wayland always composites; the offscreen platform keeps each window apart.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    return x11CompositorRunning();
}
