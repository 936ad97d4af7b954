// Where the main window may be dragged, where it goes when it fades into and out of the
// tray, and its answers to the tray icon and to a second start.
#include "ui/controls/Work_Area.h"
#include "ui/main/TMain_Form.h"
#include "ui/tray/TNotificationIcon.h"

// ---------------------------------------------------------------------------------------
// Dragging

QRect TMain_Form::Form_Moving(QRect proposed)
{
    // A window the user has placed is no longer where the button bar pushed it.
    Bar.Window_Moved_By_Hand();
    if (!Setup.Form_Movement_Restrictions) return proposed;
    const QRect work_area = Primary_Work_Area();
    if (work_area.isEmpty()) return proposed;
    return Keep_Inside_Work_Area(proposed, work_area);
}

// ---------------------------------------------------------------------------------------
// Fades

bool TMain_Form::Is_Showing() const { return isVisible() && !isMinimized(); }

void TMain_Form::Fade_Out_To_Tray()
{
    Dragger.Stop();
    Fading.Fade_Out();
}

void TMain_Form::Minimize_ButtonClick()
{
    if (Is_Fading() || Day_Has_Ended) return;
    Fade_Out_To_Tray();
}

// ---------------------------------------------------------------------------------------
// The tray icon and a second start

void TMain_Form::Tray_IconMouseDown()
{
    if (Is_Fading() || Day_Has_Ended || !Creation_Done) return;
    if (Is_Showing()) Fading.Reveal();
    else Fading.Fade_In();
}

void TMain_Form::Tray_IconDblClick()
{
    if (Is_Fading() || Day_Has_Ended || Any_Dialog_Open() || !Is_Showing()) return;
    Fade_Out_To_Tray();
}

void TMain_Form::Restore_Request()
{
    // A second start: the same as a press on the tray icon.
    Tray_IconMouseDown();
}
