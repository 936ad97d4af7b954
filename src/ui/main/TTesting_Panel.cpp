#include "ui/main/TTesting_Panel.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolTip>

#include "config/Error_List.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"

namespace
{
constexpr int Longest_Line_Without_Tooltip = 740;
constexpr int Tooltip_Display_Ms = 10000;

// The credits sequence: two letters, the pointer entering the exit button, a third letter.
constexpr QChar First_Credits_Letter = u'z';
constexpr QChar Second_Credits_Letter = u'l';
constexpr QChar Third_Credits_Letter = u'g';
constexpr int Credits_Shown_Step = 4;
}  // namespace

TTesting_Panel::TTesting_Panel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Testing_Panel"));
    setGeometry(6, 368, 743, 233);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette panel_palette = palette();
    panel_palette.setColor(QPalette::Window, Color_From_Bgr(12500670));
    setPalette(panel_palette);
    TST_Exit_Testing_Mode = new TVela_Button(this);
    TST_Exit_Testing_Mode->setObjectName(QStringLiteral("TST_Exit_Testing_Mode"));
    TST_Exit_Testing_Mode->setGeometry(6, 6, 177, 20);
    TST_Exit_Testing_Mode->Set_Draw_Default(true);
    TST_Exit_Testing_Mode->Set_Text(QStringLiteral("Exit_Testing_Mode"));
    TST_Exit_Testing_Mode->Set_Center_Text_Horizontal(false);
    TST_Exit_Testing_Mode->Set_Center_Text_Vertical(false);
    TST_Exit_Testing_Mode->Set_Text_Left(43);
    TST_Exit_Testing_Mode->Set_Text_Top(3);
    Error_List_Box_Widget = new QListWidget(this);
    Error_List_Box_Widget->setObjectName(QStringLiteral("Error_List_Box"));
    Error_List_Box_Widget->setGeometry(6, 32, 729, 193);
    Error_List_Box_Widget->setFrameShape(QFrame::Box);
    Error_List_Box_Widget->viewport()->setMouseTracking(true);
    Error_List_Box_Widget->viewport()->installEventFilter(this);
    hide();
    connect(TST_Exit_Testing_Mode, &TVela_Button::Clicked, this, [this] {
        QToolTip::hideText();
        emit Exit_Clicked();
    });
    connect(TST_Exit_Testing_Mode, &TVela_Button::Mouse_Entered, this, [this] { TST_Exit_Testing_ModeMouseEnter(); });
}

void TTesting_Panel::Copy_Protocol(const Error_List& errors)
{
    Error_List_Box_Widget->clear();
    for (const std::string& line : errors.Lines()) Error_List_Box_Widget->addItem(From_Cp1250(line));
}

bool TTesting_Panel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Error_List_Box_Widget->viewport())
    {
        if (event->type() == QEvent::MouseMove)
            Error_List_BoxMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        // The list's own tooltip of a resting pointer is its items' (none), and would take
        // the long line's tooltip away; the moves alone decide what shows.
        if (event->type() == QEvent::ToolTip) return true;
    }
    return QFrame::eventFilter(watched, event);
}

void TTesting_Panel::Error_List_BoxMouseMove(const QPoint& position)
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

void TTesting_Panel::Error_List_BoxKeyPress(QChar character)
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
        emit Credits_Due();
    }
    else Credits_Step_Value = 0;
}

void TTesting_Panel::TST_Exit_Testing_ModeMouseEnter()
{
    if (Credits_Step_Value == 2) Credits_Step_Value = 3;
}
