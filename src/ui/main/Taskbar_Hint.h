#pragma once
// Keeps a window off every taskbar and pager.
#include <QObject>

class QWidget;

// Sets _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER as the window's state.
// Called while the window is not mapped (from its show event), where the window manager
// reads the state when it maps the window; Qt keeps states it finds there. Nothing happens
// outside X11.
void Keep_Off_The_Taskbar(QWidget& window);

// Watches the whole application: every window shown over another of the program's windows
// (the editor, the settings, the messages, the report and its file dialog) stays off the
// taskbar as the main window does; the user reaches it through the window it belongs to.
// A window without a parent, such as a question asked before the main window shows, keeps
// its button, so that it cannot be lost behind other programs.
class Taskbar_Free_Windows : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
