#pragma once
// The main window's testing mode: the access code typed anywhere on the window opens it,
// the panel is built when first wanted (hardly anybody opens it, and every start would pay
// for it), and its exit button closes it.
#include <QChar>
#include <QRect>
#include <cstdint>

class Error_List;
class QObject;
class QWidget;
class TTesting_Panel;

// What the testing mode reaches of the window it opens on.
class Testing_Mode_Window
{
public:
    virtual ~Testing_Mode_Window() = default;
    // Null until the protocol exists.
    virtual const Error_List* Protocol() const = 0;
    // The window has grown to hold the panel.
    virtual void Testing_Panel_Opened() = 0;
    // The window takes its own layout back.
    virtual void Testing_Panel_Closed() = 0;
    virtual void Credits_Due() = 0;
};

class Testing_Mode
{
public:
    static constexpr int Window_Height = 620;

    // key_filter sees the panel's and its list's events first, as the window does.
    Testing_Mode(QWidget& window, Testing_Mode_Window& owner, QObject& key_filter);

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
    Testing_Mode_Window& Owner;
    QObject& Key_Filter;
    TTesting_Panel* Panel = nullptr;
    bool Is_Active = false;
    std::uint8_t Code_Position = 1;
};
