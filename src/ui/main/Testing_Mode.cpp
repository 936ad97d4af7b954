#include "ui/main/Testing_Mode.h"

#include <QListWidget>

#include "ui/main/TTesting_Panel.h"

namespace
{
constexpr char Testing_Access_Code[] = "qzv";
constexpr int Access_Code_Length = 3;
constexpr int Panel_Bottom_Gap = 239;
}  // namespace

Testing_Mode::Testing_Mode(QWidget& window, Testing_Mode_Window& owner, QObject& key_filter)
    : Window(window), Owner(owner), Key_Filter(key_filter)
{
}

TTesting_Panel& Testing_Mode::Panel_Of_Window()
{
    if (Panel) return *Panel;
    Panel = new TTesting_Panel(&Window);
    Panel->installEventFilter(&Key_Filter);
    Panel->Error_List_Box()->installEventFilter(&Key_Filter);
    QObject::connect(Panel, &TTesting_Panel::Exit_Clicked, &Window, [this] { Exit(); });
    QObject::connect(Panel, &TTesting_Panel::Credits_Due, &Window, [this] { Owner.Credits_Due(); });
    if (const Error_List* protocol = Owner.Protocol()) Panel->Copy_Protocol(*protocol);
    return *Panel;
}

void Testing_Mode::Key_Typed(QChar character)
{
    // A character that breaks the code is not taken as its new beginning.
    if (character == QLatin1Char(Testing_Access_Code[Code_Position - 1])) ++Code_Position;
    else Code_Position = 1;
    if (Code_Position != Access_Code_Length + 1) return;
    Code_Position = 1;
    Open();
}

void Testing_Mode::Open()
{
    Is_Active = true;
    Window.resize(Window.width(), Window_Height);
    // A panel built now has just taken its copy; one built earlier takes a fresh one.
    const bool built_before = Panel != nullptr;
    TTesting_Panel& panel = Panel_Of_Window();
    const Error_List* protocol = Owner.Protocol();
    if (built_before && protocol) panel.Copy_Protocol(*protocol);
    panel.move(panel.x(), Window.height() - Panel_Bottom_Gap);
    panel.show();
    Owner.Testing_Panel_Opened();
    Window.update();
}

void Testing_Mode::Exit()
{
    Is_Active = false;
    Panel_Of_Window().hide();
    Owner.Testing_Panel_Closed();
}
