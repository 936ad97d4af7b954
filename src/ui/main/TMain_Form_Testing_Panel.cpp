// The main window's side of the testing panel: the typed access code that opens it, its
// closing, and the credits it asks for.
#include <QKeyEvent>
#include <QListWidget>

#include "ui/main/Command_Button_Bar.h"
#include "ui/main/Counting_Message_Dialogs.h"
#include "ui/main/TMain_Form.h"
#include "ui/main/Testing_Panel.h"

namespace
{
constexpr char Testing_Access_Code[] = "qzv";
constexpr int Access_Code_Length = 3;
constexpr int Testing_Client_Height = 620;
constexpr int Testing_Panel_Bottom_Gap = 239;
}  // namespace

TTesting_Panel& TMain_Form::Testing_Panel()
{
    // Built when first wanted: hardly anybody opens it, and every start would pay for it.
    if (Panel) return *Panel;
    Panel = new TTesting_Panel(this);
    Panel->installEventFilter(this);
    Panel->Error_List_Box()->installEventFilter(this);
    connect(Panel, &TTesting_Panel::Exit_Clicked, this, [this] { TST_Exit_Testing_ModeClick(); });
    connect(Panel, &TTesting_Panel::Credits_Due, this, [this] {
        update();
        Show_Credits();
    });
    if (Errors) Panel->Copy_Protocol(*Errors);
    return *Panel;
}

void TMain_Form::Form_Typed_Text(QKeyEvent* event, bool into_error_list)
{
    if (Day_Has_Ended) return;
    // Each character a key types counts, Enter, Escape and Backspace included.
    for (const QChar character : event->text())
    {
        Form_Key_Press(character);
        if (into_error_list) Testing_Panel().Error_List_BoxKeyPress(character);
    }
}

void TMain_Form::Form_Key_Press(QChar character)
{
    // A character that breaks the code is not taken as its new beginning.
    if (character == QLatin1Char(Testing_Access_Code[Access_Code_Position_Value - 1]))
        ++Access_Code_Position_Value;
    else
        Access_Code_Position_Value = 1;
    if (Access_Code_Position_Value != Access_Code_Length + 1) return;

    Testing_Mode_Flag = true;
    resize(width(), Testing_Client_Height);
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
    TTesting_Panel& panel = Testing_Panel();
    if (Errors) panel.Copy_Protocol(*Errors);
    panel.move(panel.x(), height() - Testing_Panel_Bottom_Gap);
    panel.show();
    Buttons->Show_Inside(height());
    Access_Code_Position_Value = 1;
    update();
}

void TMain_Form::TST_Exit_Testing_ModeClick()
{
    Testing_Mode_Flag = false;
    Testing_Panel().hide();
    Update_Layout();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
}

void TMain_Form::Show_Credits()
{
    if (!Dialogs) return;
    const std::string title(Application_Title);
    const std::string text = ".:*:.  " + title + "  .:*:.#" + std::string(title.size() + 14, '.') +
                             "#written and kept by the Zentavo Logger developers";
    Dialogs->Display_Message_Dialog("Warning_Icon_Source.bmp", 120, text, ":o)", "", {});
}
