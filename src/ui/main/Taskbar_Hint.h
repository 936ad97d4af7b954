#pragma once
// Keeps a window off every taskbar and pager.
class QWidget;

// Sets _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER as the window's state.
// Called while the window is not mapped (from its show event), where the window manager
// reads the state when it maps the window; Qt keeps states it finds there. Nothing happens
// outside X11.
void Keep_Off_The_Taskbar(QWidget& window);
