#include "ui/main/Main_Form_Fader.h"

#include <QWidget>

#include "config/Settings.h"
#include "ui/tray/TNotificationIcon.h"

namespace
{
constexpr std::uint8_t Fade_In_Start_Value = 15;
constexpr int Fade_Out_End_Value = 16;
constexpr int Fade_Steps = 12;
}  // namespace

Main_Form_Fader::Main_Form_Fader(QWidget& window, Faded_Window& owner, const Settings& settings)
    : Window(window), Owner(owner), Setup(settings)
{
    Effect_Timer.setInterval(30);
    connect(&Effect_Timer, &QTimer::timeout, this, [this] { Effect_TimerTimer(); });
}

void Main_Form_Fader::Set_Alpha_Blend(bool enabled, std::uint8_t value)
{
    Alpha_Blend_On = enabled;
    Alpha_Blend_Level = value;
    Window.setWindowOpacity(enabled ? value / 255.0 : 1.0);
    // X11 sends the opacity property only when the connection is next flushed, which a
    // repaint does; without it a fade would show only its last step.
    Window.update(0, 0, 1, 1);
}

void Main_Form_Fader::Fade_In()
{
    Fading_In_Flag = true;
    Set_Alpha_Blend(Alpha_Blend_On, Fade_In_Start_Value);
    Reveal();
    Set_Tray_Show_Hint(false);
    Owner.Revealing();
    Effect_Timer.start();
}

void Main_Form_Fader::Fade_Out()
{
    Fading_In_Flag = false;
    if (Setup.Main_Form_Transparency == 0) Set_Alpha_Blend(true, Alpha_Blend_Level);
    Effect_Timer.start();
}

void Main_Form_Fader::Effect_TimerTimer()
{
    const int transparency = Setup.Main_Form_Transparency;
    const int step = (255 - transparency) / Fade_Steps;
    if (Fading_In_Flag)
    {
        const auto value = static_cast<std::uint8_t>(Alpha_Blend_Level + step);
        Set_Alpha_Blend(Alpha_Blend_On, value);
        if (value < 240 - transparency) return;
        Effect_Timer.stop();
        if (transparency == 0) Set_Alpha_Blend(false, value);
        else Set_Alpha_Blend(Alpha_Blend_On, static_cast<std::uint8_t>(255 - transparency));
        return;
    }
    const auto value = static_cast<std::uint8_t>(Alpha_Blend_Level - step);
    Set_Alpha_Blend(Alpha_Blend_On, value);
    if (value > Fade_Out_End_Value) return;
    Effect_Timer.stop();
    Conceal();
    Set_Tray_Show_Hint(true);
}

void Main_Form_Fader::Reveal()
{
    if (TNotificationIcon* tray_icon = Owner.Tray_Icon())
    {
        tray_icon->RevealMainForm();
        return;
    }
    if (Window.isMinimized()) Window.setWindowState(Window.windowState() & ~Qt::WindowMinimized);
    Window.show();
    Window.raise();
    Window.activateWindow();
}

void Main_Form_Fader::Conceal()
{
    if (TNotificationIcon* tray_icon = Owner.Tray_Icon()) tray_icon->ConcealMainForm();
    else Window.showMinimized();
}

void Main_Form_Fader::Set_Tray_Show_Hint(bool show)
{
    if (TNotificationIcon* tray_icon = Owner.Tray_Icon()) tray_icon->SetShowHint(show);
}
