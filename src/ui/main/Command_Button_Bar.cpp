#include "ui/main/Command_Button_Bar.h"

#include "config/Language_Texts.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/main/Main_Form_Commands.h"

namespace
{
struct Button_Layout
{
    const char* Name;
    int Left;
    const char* Text;
    Main_Form_Key Command;
};
constexpr Button_Layout Layouts[] = {
    {"Add_Record_Button", 6, "Přidat záznam", Main_Form_Key::Add_Record},
    {"Setup_Button", 116, "Nastavení", Main_Form_Key::Setup},
    {"Open_Log_Button", 226, "Otevřít log", Main_Form_Key::Open_Log},
    {"Shutdown_Button", 336, "Vypnout počítač", Main_Form_Key::Shutdown},
};
}  // namespace

Command_Button_Bar::Command_Button_Bar(QWidget* window, Main_Form_Commands& commands)
{
    for (std::size_t index = 0; index < Buttons.size(); ++index)
    {
        auto* button = new TVela_Button(window);
        button->setObjectName(QString::fromLatin1(Layouts[index].Name));
        button->setGeometry(Layouts[index].Left, 192, 105, 25);
        button->Set_Text(QString::fromUtf8(Layouts[index].Text));
        button->Set_Center_Text_Horizontal(true);
        button->Set_Center_Text_Vertical(true);
        button->Set_Text_Top(6);
        button->Set_Hold_Status(false);
        button->Set_Button_Down(false);
        QObject::connect(button, &TVela_Button::Clicked, window, [&commands, command = Layouts[index].Command] {
            if (!commands.Is_Fading()) commands.Run_Command(command);
        });
        Buttons[index] = button;
    }
}

void Command_Button_Bar::Set_Skin(const QPixmap& skin)
{
    for (TVela_Button* button : Buttons) button->Set_Button_Skin(skin);
}

void Command_Button_Bar::Set_Captions(const Language_Texts& texts)
{
    for (std::size_t index = 0; index < Buttons.size(); ++index)
        Buttons[index]->Set_Text(From_Cp1250(texts.Main_Form_Captions[index + 1]));
}

void Command_Button_Bar::Place(int top)
{
    for (TVela_Button* button : Buttons) button->move(button->x(), top);
}

void Command_Button_Bar::Show_Inside(int window_height)
{
    for (TVela_Button* button : Buttons) button->setVisible(button->y() + 1 < window_height);
}
