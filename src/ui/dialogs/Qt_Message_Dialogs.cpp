#include "ui/dialogs/Qt_Message_Dialogs.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "config/Language_Counterpart.h"
#include "platform/Code_Page.h"
#include "platform/Ini_File.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Work_Area.h"
#include "ui/dialogs/TMessage_Dialog_Form.h"
#include "ui/dialogs/TSplash_Screen_Form.h"

namespace
{
std::int16_t To_Int16(int value)
{
    return std::int16_t(
        std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}
}  // namespace

Qt_Message_Dialogs::Qt_Message_Dialogs(Settings& settings, Error_List& errors, const Program_Paths& paths,
                                       const QPixmap& button_skin, QWidget* parent)
    : Setup(settings), Errors(errors), Paths(paths), Button_Skin(button_skin), Parent(parent)
{
}

int Qt_Message_Dialogs::Display_Message_Dialog(const std::string& icon_file_name, int animation_interval,
                                               const std::string& message, const std::string& first_button,
                                               const std::string& second_button,
                                               const std::vector<std::string>& arguments)
{
    TMessage_Dialog_Form form(Paths, Errors, Parent.data());
    TMessage_Dialog_Form* const outer_form = Message_Dialog_Form;
    Message_Dialog_Form = &form;

    form.Set_Buttons(Button_Skin, first_button, second_button);
    form.Set_Message(message, arguments);
    form.Load_Icon(icon_file_name, animation_interval);

    // Where it was left, a text that made it taller kept above the bottom; a position
    // off every present screen would hide a modal question.
    const QPoint position = Message_Dialog_Opening_Position(
        QPoint(Setup.Message_Dialog_Form_Left, Setup.Message_Dialog_Form_Top), form.height(), Primary_Work_Area());
    const QRect opening(position, form.size());
    form.move(Position_Back_On_A_Screen(opening).value_or(position));
    form.exec();
    const int answer = form.Answer();

    Setup.Message_Dialog_Form_Left = To_Int16(form.x());
    Setup.Message_Dialog_Form_Top = To_Int16(form.y());
    Message_Dialog_Form = outer_form;
    return answer;
}

void Qt_Message_Dialogs::Show_Start_Splash_Screen()
{
    // The picture has its words drawn in: a language may bring its own.
    const std::string path = Paths.File(
        Language_Counterpart(Paths, "Skin/Splash_Screen.bmp",
                             Ini_File(Setup.Language_File_Path).Read_String("Language", "Splash_Screen", "")));
    TSplash_Screen_Form form(Parent.data());
    if (!form.Load_Splash_Bitmap(Path_To_QString(path)))
    {
        Errors.Add(" - SHOW_SPLASH_SCREEN - source file " + File_Name_To_Cp1250(path) + " not found");
        return;
    }
    form.Show_Until_Timer();
}
