#pragma once
// The main window's testing mode: the access code typed anywhere on the window opens it,
// the panel is built when first wanted (hardly anybody opens it, and every start would pay
// for it), and its exit button closes it.
#include <QChar>
#include <QRect>
#include <cstdint>
#include <functional>

class Error_List;
class QObject;
class QWidget;
class TTesting_Panel;

class Testing_Mode
{
public:
    struct Hooks
    {
        std::function<const Error_List*()> Protocol;  // null until the protocol exists
        std::function<void()> Opened;                 // the window has grown to hold the panel
        std::function<void()> Closed;                 // the window takes its own layout back
        std::function<void()> Credits_Due;
    };

    static constexpr int Window_Height = 620;

    // key_filter sees the panel's and its list's events first, as the window does.
    Testing_Mode(QWidget& window, QObject& key_filter, Hooks hooks);

    bool Active() const { return Is_Active; }
    int Access_Code_Position() const { return Code_Position; }
    // Null until the panel was first wanted.
    TTesting_Panel* Built_Panel() const { return Panel; }
    TTesting_Panel& Panel_Of_Window();

    // One typed character; the last one of the code opens the mode.
    void Key_Typed(QChar character);
    void Exit();

private:
    void Open();

    QWidget& Window;
    QObject& Key_Filter;
    Hooks Callbacks;
    TTesting_Panel* Panel = nullptr;
    bool Is_Active = false;
    std::uint8_t Code_Position = 1;
};
