#pragma once
// The main window's opacity, and its fades into and out of the tray: 30 ms steps from
// almost transparent up to the configured transparency, and back down before it hides.
#include <QObject>
#include <QTimer>
#include <cstdint>

class QWidget;
class TNotificationIcon;
struct Settings;

// What the fades reach of the window they fade.
class Faded_Window
{
public:
    virtual ~Faded_Window() = default;
    // A fade in begins.
    virtual void Revealing() = 0;
    // The tray icon, when there is one: it brings the window forward and puts it away.
    virtual TNotificationIcon* Tray_Icon() const = 0;
};

class Main_Form_Fader : public QObject
{
    Q_OBJECT

public:
    Main_Form_Fader(QWidget& window, Faded_Window& owner, const Settings& settings);

    void Fade_In();
    void Fade_Out();
    // Brings the window forward, or puts it away, at once.
    void Reveal();
    void Conceal();
    void Effect_TimerTimer();
    // Opacity as blend switch and value (0..255); switch off means opaque.
    void Set_Alpha_Blend(bool enabled, std::uint8_t value);

    bool Is_Fading() const { return Effect_Timer.isActive(); }
    bool Fading_In() const { return Fading_In_Flag; }
    bool Alpha_Blend() const { return Alpha_Blend_On; }
    std::uint8_t Alpha_Blend_Value() const { return Alpha_Blend_Level; }
    QTimer& Effect_Timer_Of_Main_Form() { return Effect_Timer; }

private:
    void Set_Tray_Show_Hint(bool show);

    QWidget& Window;
    Faded_Window& Owner;
    const Settings& Setup;
    QTimer Effect_Timer;
    bool Fading_In_Flag = false;
    bool Alpha_Blend_On = false;
    std::uint8_t Alpha_Blend_Level = 255;
};
