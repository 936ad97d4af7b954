#include "ui/main/Title_Strip.h"

#include <QLabel>

#include "config/Settings.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/main/Main_Form_Commands.h"

Title_Strip::Title_Strip(QWidget* window, QObject* event_filter, Main_Form_Commands& commands)
{
    Title = new QLabel(window);
    Title->setObjectName(QStringLiteral("Title_Label"));
    Title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Title->installEventFilter(event_filter);

    Minimize_Button = new TVela_Button(window);
    Minimize_Button->setObjectName(QStringLiteral("Minimize_Button"));
    Minimize_Button->setGeometry(732, 6, 17, 17);
    // The title spans the strip up to the minimize button: clicks on the title and on the
    // window do the same, so the label need not be measured to its text.
    constexpr int Title_Left = 8;
    Title->setGeometry(Title_Left, 8, Minimize_Button->x() - 2 * Title_Left, 16);
    QFont minimize_font = Program_Bold_Font();
    minimize_font.setPixelSize(8);
    Minimize_Button->setFont(minimize_font);
    Minimize_Button->Set_Center_Text_Horizontal(false);
    Minimize_Button->Set_Center_Text_Vertical(false);
    Minimize_Button->Set_Text_Left(0);
    Minimize_Button->Set_Text_Top(0);
    QObject::connect(Minimize_Button, &TVela_Button::Clicked, window,
                     [&commands] { commands.Run_Command(Main_Form_Key::Minimize); });
}

void Title_Strip::Set_Title(const QString& title) { Title->setText(title); }

void Title_Strip::Set_Look(const Settings& settings)
{
    QPalette title_palette = Title->palette();
    title_palette.setColor(QPalette::WindowText, Color_From_Bgr(settings.Title_Color));
    Title->setPalette(title_palette);
    QFont title_font = Title->font();
    title_font.setBold(settings.Title_Bold);
    Title->setFont(title_font);
}

void Title_Strip::Set_Minimize_Skin(const QPixmap& skin) { Minimize_Button->Set_Button_Skin(skin); }
