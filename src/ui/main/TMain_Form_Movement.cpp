// The main window's movement by hand, the fades of its opacity into and out of the tray,
// and its answers to the tray icon and to a second start.
#include <QMouseEvent>

#include "ui/controls/Work_Area.h"
#include "ui/main/TMain_Form.h"
#include "ui/tray/Notification_Icon.h"

namespace
{
constexpr std::uint8_t Fade_In_Start_Value = 15;
constexpr int Fade_Out_End_Value = 16;
constexpr int Fade_Steps = 12;
}  // namespace

// ---------------------------------------------------------------------------------------
// Dragging

void TMain_Form::Form_Mouse_Down(QMouseEvent* event)
{
    if (Is_Fading() || Day_Has_Ended) return;
    if (event->button() == Qt::RightButton)
    {
        Toggle_Button_Bar();
        return;
    }
    // An anchored window stays in its corner.
    if (Setup.Main_Form_Anchor != 0) return;
    Drag_Active = true;
    Drag_Offset = event->globalPosition().toPoint() - pos();
}

void TMain_Form::Form_Mouse_Move(QMouseEvent* event)
{
    if (!Drag_Active) return;
    if (!(event->buttons() & ~Qt::RightButton))
    {
        // The release went elsewhere (a grab taken by another window).
        Drag_Active = false;
        return;
    }
    const QRect proposed(event->globalPosition().toPoint() - Drag_Offset, size());
    move(Form_Moving(proposed).topLeft());
}

void TMain_Form::Form_Mouse_Up(QMouseEvent* event)
{
    if (!(event->buttons() & ~Qt::RightButton)) Drag_Active = false;
}

void TMain_Form::mouseMoveEvent(QMouseEvent* event)
{
    Form_Mouse_Move(event);
}

void TMain_Form::mouseReleaseEvent(QMouseEvent* event)
{
    Form_Mouse_Up(event);
}

QRect TMain_Form::Form_Moving(QRect proposed)
{
    // A window the user has placed is no longer where the button bar pushed it.
    Moved_For_Bar_Flag = false;
    if (!Setup.Form_Movement_Restrictions) return proposed;
    const QRect work_area = Primary_Work_Area();
    if (work_area.isEmpty()) return proposed;
    return Keep_Inside_Work_Area(proposed, work_area);
}

// ---------------------------------------------------------------------------------------
// Fades

bool TMain_Form::Is_Showing() const
{
    return isVisible() && !isMinimized();
}

void TMain_Form::Reveal_Main_Form()
{
    if (Tray_Icon_Component)
    {
        Tray_Icon_Component->RevealMainForm();
        return;
    }
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TMain_Form::Conceal_Main_Form()
{
    if (Tray_Icon_Component)
        Tray_Icon_Component->ConcealMainForm();
    else
        showMinimized();
}

void TMain_Form::Set_Tray_Show_Hint(bool show)
{
    if (Tray_Icon_Component) Tray_Icon_Component->SetShowHint(show);
}

void TMain_Form::Fade_In_From_Tray()
{
    Fading_In_Flag = true;
    Set_Alpha_Blend(Alpha_Blend_On, Fade_In_Start_Value);
    Reveal_Main_Form();
    Set_Tray_Show_Hint(false);
    // A key released while the window was away never reached it.
    Key_Armed = true;
    Effect_Timer.start();
}

void TMain_Form::Fade_Out_To_Tray()
{
    Fading_In_Flag = false;
    Drag_Active = false;
    if (Setup.Main_Form_Transparency == 0) Set_Alpha_Blend(true, Alpha_Blend_Level);
    Effect_Timer.start();
}

void TMain_Form::Effect_TimerTimer()
{
    const int transparency = Setup.Main_Form_Transparency;
    const int step = (255 - transparency) / Fade_Steps;
    if (Fading_In_Flag)
    {
        const auto value = static_cast<std::uint8_t>(Alpha_Blend_Level + step);
        Set_Alpha_Blend(Alpha_Blend_On, value);
        if (value < 240 - transparency) return;
        Effect_Timer.stop();
        if (transparency == 0)
            Set_Alpha_Blend(false, value);
        else
            Set_Alpha_Blend(Alpha_Blend_On, static_cast<std::uint8_t>(255 - transparency));
        return;
    }
    const auto value = static_cast<std::uint8_t>(Alpha_Blend_Level - step);
    Set_Alpha_Blend(Alpha_Blend_On, value);
    if (value > Fade_Out_End_Value) return;
    Effect_Timer.stop();
    Conceal_Main_Form();
    Set_Tray_Show_Hint(true);
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
    if (Is_Showing())
        Reveal_Main_Form();
    else
        Fade_In_From_Tray();
}

void TMain_Form::Tray_IconDblClick()
{
    if (Is_Fading() || Day_Has_Ended || Editor_Open || Setup_Open || Message_Dialog_Depth > 0 || !Is_Showing())
        return;
    Fade_Out_To_Tray();
}

void TMain_Form::Restore_Request()
{
    // A second start: the same as a press on the tray icon.
    Tray_IconMouseDown();
}
