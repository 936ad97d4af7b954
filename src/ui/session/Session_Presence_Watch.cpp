#include "ui/session/Session_Presence_Watch.h"

#include <QtGui/qguiapplication_platform.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>

#ifdef ZL_HAVE_XCB_SCREENSAVER
#include <dlfcn.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace
{

constexpr const char* Screen_Saver_Interfaces[] = {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver",
                                                   "org.mate.ScreenSaver", "org.cinnamon.ScreenSaver"};

#ifdef ZL_HAVE_XCB_SCREENSAVER
xcb_connection_t* X_Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The extension's client library, loaded when the watch starts rather than with the
// program, since the first frame does not need it; none where it is not installed.
struct X_Screen_Saver_Library
{
    xcb_extension_t* Extension = nullptr;
    xcb_screensaver_query_info_cookie_t (*Query)(xcb_connection_t*, xcb_drawable_t) = nullptr;
    xcb_screensaver_query_info_reply_t* (*Reply)(xcb_connection_t*, xcb_screensaver_query_info_cookie_t,
                                                 xcb_generic_error_t**) = nullptr;
};

const X_Screen_Saver_Library* Load_X_Screen_Saver_Library()
{
    static const X_Screen_Saver_Library library = [] {
        X_Screen_Saver_Library loaded;
        void* handle = ::dlopen("libxcb-screensaver.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!handle) return loaded;
        loaded.Extension = static_cast<xcb_extension_t*>(::dlsym(handle, "xcb_screensaver_id"));
        loaded.Query = reinterpret_cast<decltype(loaded.Query)>(::dlsym(handle, "xcb_screensaver_query_info"));
        loaded.Reply = reinterpret_cast<decltype(loaded.Reply)>(::dlsym(handle, "xcb_screensaver_query_info_reply"));
        return loaded;
    }();
    return library.Extension && library.Query && library.Reply ? &library : nullptr;
}
#endif

}  // namespace

QString Login_Session_Path(const QString& session_id)
{
    QString path = QStringLiteral("/org/freedesktop/login1/session/");
    const QByteArray bytes = session_id.toUtf8();
    for (qsizetype index = 0; index < bytes.size(); ++index)
    {
        const char character = bytes[index];
        const bool digit = character >= '0' && character <= '9';
        const bool letter = (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
        if (letter || (digit && index > 0)) path += QLatin1Char(character);
        else
            path += QStringLiteral("_%1").arg(static_cast<uint>(static_cast<unsigned char>(character)), 2, 16,
                                              QLatin1Char('0'));
    }
    return path;
}

Session_Presence_Watch::Session_Presence_Watch() = default;

void Session_Presence_Watch::Start(std::function<void(Presence_Change)> changed)
{
    Changed = std::move(changed);
    // Any sender: the signals matter, not who sent them, and a test bus has no logind.
    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected())
    {
        system.connect(QString(), QStringLiteral("/org/freedesktop/login1"),
                       QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                       SLOT(Prepare_For_Sleep(bool)));
        const QString session_id = qEnvironmentVariable("XDG_SESSION_ID");
        if (!session_id.isEmpty())
        {
            const QString path = Login_Session_Path(session_id);
            const QString session_interface = QStringLiteral("org.freedesktop.login1.Session");
            system.connect(QString(), path, session_interface, QStringLiteral("Lock"), this, SLOT(Session_Locked()));
            system.connect(QString(), path, session_interface, QStringLiteral("Unlock"), this,
                           SLOT(Session_Unlocked()));
        }
    }
    // Without an address the bus would be launched for the display: that bus has no
    // screen saver, and the program would leave a daemon behind.
    [[maybe_unused]] bool screen_saver_answers = false;
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
    {
        QDBusConnection session = QDBusConnection::sessionBus();
        if (session.isConnected())
            for (const char* name : Screen_Saver_Interfaces)
            {
                session.connect(QString(), QString(), QString::fromLatin1(name), QStringLiteral("ActiveChanged"), this,
                                SLOT(Screen_Saver_Active(bool)));
                if (session.interface() && session.interface()->isServiceRegistered(QString::fromLatin1(name)))
                    screen_saver_answers = true;
            }
    }
#ifdef ZL_HAVE_XCB_SCREENSAVER
    if (!screen_saver_answers)
        if (xcb_connection_t* connection = X_Connection())
            if (const X_Screen_Saver_Library* library = Load_X_Screen_Saver_Library())
            {
                const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, library->Extension);
                Idle_From_X = extension && extension->present;
            }
#endif
}

std::optional<std::int64_t> Session_Presence_Watch::Input_Idle_Milliseconds()
{
#ifdef ZL_HAVE_XCB_SCREENSAVER
    xcb_connection_t* connection = Idle_From_X ? X_Connection() : nullptr;
    const X_Screen_Saver_Library* library = Load_X_Screen_Saver_Library();
    if (!connection || !library) return std::nullopt;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return std::nullopt;
    xcb_screensaver_query_info_reply_t* reply =
        library->Reply(connection, library->Query(connection, screen->root), nullptr);
    if (!reply) return std::nullopt;
    const std::int64_t idle = reply->ms_since_user_input;
    std::free(reply);
    return idle;
#else
    return std::nullopt;
#endif
}

void Session_Presence_Watch::Prepare_For_Sleep(bool sleeping)
{
    if (Changed) Changed(sleeping ? Presence_Change::Left : Presence_Change::Resumed);
}

void Session_Presence_Watch::Session_Locked()
{
    if (Changed) Changed(Presence_Change::Left);
}

void Session_Presence_Watch::Session_Unlocked()
{
    if (Changed) Changed(Presence_Change::Back);
}

void Session_Presence_Watch::Screen_Saver_Active(bool active)
{
    if (Changed) Changed(active ? Presence_Change::Left : Presence_Change::Back);
}
