// The hidden testing panel: the diagnostics list shown inside the main window, opened by
// a typed access code, with its long-line tooltip and the credits.
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QListWidget>
#include <QToolTip>

#include "ui/controls/Ui_Text.h"
#include "ui/controls/Vela_Button.h"
#include "ui/main/Counting_Message_Dialogs.h"
#include "ui/main/TMain_Form.h"

namespace
{
constexpr char Testing_Access_Code[] = "qzv";
constexpr int Access_Code_Length = 3;
constexpr int Testing_Client_Height = 620;
constexpr int Testing_Panel_Bottom_Gap = 239;
constexpr int Longest_Line_Without_Tooltip = 740;
constexpr int Tooltip_Display_Ms = 10000;

// The credits sequence: two letters, the pointer entering the exit button, a third letter.
constexpr QChar First_Credits_Letter = u'z';
constexpr QChar Second_Credits_Letter = u'l';
constexpr QChar Third_Credits_Letter = u'g';
constexpr int Credits_Shown_Step = 4;
}  // namespace

void TMain_Form::Build_Testing_Panel()
{
    // Built when first wanted: hardly anybody opens it, and every start would pay for it.
    if (Testing_Panel) return;
    Testing_Panel = new QFrame(this);
    Testing_Panel->setObjectName(QStringLiteral("Testing_Panel"));
    Testing_Panel->setGeometry(6, 368, 743, 233);
    Testing_Panel->setFrameShape(QFrame::Box);
    Testing_Panel->setAutoFillBackground(true);
    QPalette panel_palette = Testing_Panel->palette();
    panel_palette.setColor(QPalette::Window, Color_From_Bgr(12500670));
    Testing_Panel->setPalette(panel_palette);
    Testing_Panel->installEventFilter(this);
    TST_Exit_Testing_Mode = new TVela_Button_(Testing_Panel);
    TST_Exit_Testing_Mode->setObjectName(QStringLiteral("TST_Exit_Testing_Mode"));
    TST_Exit_Testing_Mode->setGeometry(6, 6, 177, 20);
    TST_Exit_Testing_Mode->Set_Draw_Default(true);
    TST_Exit_Testing_Mode->Set_Text(QStringLiteral("Exit_Testing_Mode"));
    TST_Exit_Testing_Mode->Set_Center_Text_Horizontal(false);
    TST_Exit_Testing_Mode->Set_Center_Text_Vertical(false);
    TST_Exit_Testing_Mode->Set_Text_Left(43);
    TST_Exit_Testing_Mode->Set_Text_Top(3);
    Error_List_Box_Widget = new QListWidget(Testing_Panel);
    Error_List_Box_Widget->setObjectName(QStringLiteral("Error_List_Box"));
    Error_List_Box_Widget->setGeometry(6, 32, 729, 193);
    Error_List_Box_Widget->setFrameShape(QFrame::Box);
    Error_List_Box_Widget->installEventFilter(this);
    Error_List_Box_Widget->viewport()->setMouseTracking(true);
    Error_List_Box_Widget->viewport()->installEventFilter(this);
    Testing_Panel->hide();
    connect(TST_Exit_Testing_Mode, &TVela_Button_::Clicked, this, [this] { TST_Exit_Testing_ModeClick(); });
    connect(TST_Exit_Testing_Mode, &TVela_Button_::Mouse_Entered, this, [this] { TST_Exit_Testing_ModeMouseEnter(); });
    Copy_Protocol_To_Testing_Panel();
}

void TMain_Form::Copy_Protocol_To_Testing_Panel()
{
    Error_List_Box_Widget->clear();
    if (Errors)
        for (const std::string& line : Errors->Lines()) Error_List_Box_Widget->addItem(From_Cp1250(line));
}

QFrame* TMain_Form::Testing_Panel_Widget()
{
    Build_Testing_Panel();
    return Testing_Panel;
}

TVela_Button_* TMain_Form::Exit_Testing_Mode_Button()
{
    Build_Testing_Panel();
    return TST_Exit_Testing_Mode;
}

QListWidget* TMain_Form::Error_List_Box()
{
    Build_Testing_Panel();
    return Error_List_Box_Widget;
}

void TMain_Form::Form_Typed_Text(QKeyEvent* event, bool into_error_list)
{
    if (Day_Has_Ended) return;
    // Each character a key types counts, Enter, Escape and Backspace included.
    for (const QChar character : event->text())
    {
        Form_Key_Press(character);
        if (into_error_list) Error_List_BoxKeyPress(character);
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
    Build_Testing_Panel();
    Copy_Protocol_To_Testing_Panel();
    Testing_Panel->move(Testing_Panel->x(), height() - Testing_Panel_Bottom_Gap);
    Testing_Panel->show();
    Show_Buttons_Inside_The_Window();
    Access_Code_Position_Value = 1;
    update();
}

void TMain_Form::TST_Exit_Testing_ModeClick()
{
    Testing_Mode_Flag = false;
    Testing_Panel->hide();
    QToolTip::hideText();
    Update_Layout();
    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
}

void TMain_Form::Error_List_BoxMouseMove(const QPoint& position)
{
    const QListWidgetItem* item = Error_List_Box_Widget->itemAt(position);
    if (item == nullptr)
    {
        QToolTip::hideText();
        return;
    }
    const QString text = item->text();
    const QFontMetrics metrics(Error_List_Box_Widget->font());
    if (metrics.horizontalAdvance(text) <= Longest_Line_Without_Tooltip)
    {
        QToolTip::hideText();
        return;
    }
    Error_List_Hint = text;
    QWidget* viewport = Error_List_Box_Widget->viewport();
    QToolTip::showText(viewport->mapToGlobal(position), Error_List_Hint, viewport, QRect(), Tooltip_Display_Ms);
}

void TMain_Form::Error_List_BoxKeyPress(QChar character)
{
    if (character == First_Credits_Letter)
    {
        if (Credits_Step_Value == 0) Credits_Step_Value = 1;
    }
    else if (character == Second_Credits_Letter)
    {
        if (Credits_Step_Value == 1) Credits_Step_Value = 2;
    }
    else if (character == Third_Credits_Letter)
    {
        if (Credits_Step_Value != 3) return;
        Credits_Step_Value = Credits_Shown_Step;
        update();
        Show_Credits();
    }
    else
        Credits_Step_Value = 0;
}

void TMain_Form::TST_Exit_Testing_ModeMouseEnter()
{
    if (Credits_Step_Value == 2) Credits_Step_Value = 3;
}

void TMain_Form::Show_Credits()
{
    if (!Dialogs) return;
    const std::string title(Application_Title);
    const std::string text = ".:*:.  " + title + "  .:*:.#" + std::string(title.size() + 14, '.') +
                             "#written and kept by the Zentavo Logger developers";
    Dialogs->Display_Message_Dialog("Warning_Icon_Source.bmp", 120, text, ":o)", "", {});
}
