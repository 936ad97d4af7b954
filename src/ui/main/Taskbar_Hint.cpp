#include "ui/main/Taskbar_Hint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#if defined(ZL_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{
// The atoms' numbers stay as long as the connection: asked for once, in one round trip.
struct Taskbar_Atoms
{
    xcb_atom_t State = XCB_ATOM_NONE;
    xcb_atom_t Skip_Taskbar = XCB_ATOM_NONE;
    xcb_atom_t Skip_Pager = XCB_ATOM_NONE;
};

Taskbar_Atoms Intern_Atoms(xcb_connection_t* connection)
{
    const char* const names[] = {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int index = 0; index < 3; ++index)
        cookies[index] = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(names[index])), names[index]);
    xcb_atom_t atoms[3];
    for (int index = 0; index < 3; ++index)
    {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookies[index], nullptr), &std::free);
        atoms[index] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    return {atoms[0], atoms[1], atoms[2]};
}
}  // namespace

void Keep_Off_The_Taskbar(QWidget& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* connection = x11->connection();
    static const Taskbar_Atoms atoms = Intern_Atoms(connection);
    if (atoms.State == XCB_ATOM_NONE || atoms.Skip_Taskbar == XCB_ATOM_NONE || atoms.Skip_Pager == XCB_ATOM_NONE)
        return;
    // The window is withdrawn here, so its state holds nothing the window manager keeps;
    // Qt adds its own states to these when it maps the window.
    const xcb_atom_t states[] = {atoms.Skip_Taskbar, atoms.Skip_Pager};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atoms.State,
                        XCB_ATOM_ATOM, 32, 2, states);
}
#else
void Keep_Off_The_Taskbar(QWidget&) {}
#endif

bool Taskbar_Free_Windows::eventFilter(QObject* watched, QEvent* event)
{
    // The show event comes before the window maps, while its state is still the program's to set.
    if (event->type() == QEvent::Show && watched->isWidgetType())
    {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && widget->parentWidget() != nullptr && type != Qt::Popup && type != Qt::ToolTip &&
            type != Qt::SplashScreen)
            Keep_Off_The_Taskbar(*widget);
    }
    return QObject::eventFilter(watched, event);
}
