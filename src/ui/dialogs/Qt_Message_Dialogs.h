#pragma once
// The program's answer to the core's questions: its own message dialog and the splash.
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "config/Error_List.h"
#include "config/Message_Dialogs.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"

class TMessage_Dialog_Form;

class Qt_Message_Dialogs final : public Message_Dialogs
{
public:
    // The dialog's position is kept in the settings' Message_Dialog_Form_Left and _Top.
    Qt_Message_Dialogs(Settings& settings, Error_List& errors, const Program_Paths& paths, const QPixmap& button_skin,
                       QWidget* parent);

    void Set_Button_Skin(const QPixmap& button_skin) { Button_Skin = button_skin; }
    void Set_Parent(QWidget* parent) { Parent = parent; }

    int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval, const std::string& message,
                               const std::string& first_button, const std::string& second_button,
                               const std::vector<std::string>& arguments) override;

    // Shows Skin/Splash_Screen.bmp for 1700 ms; a missing picture is protocolled and skipped.
    void Show_Start_Splash_Screen() override;

    // True while a message dialog is open (the record table keeps its highlight then).
    bool Is_Message_Dialog_Open() const { return Message_Dialog_Form != nullptr; }
    TMessage_Dialog_Form* Open_Message_Dialog() const { return Message_Dialog_Form; }

private:
    Settings& Setup;
    Error_List& Errors;
    const Program_Paths& Paths;
    QPixmap Button_Skin;
    QPointer<QWidget> Parent;
    TMessage_Dialog_Form* Message_Dialog_Form = nullptr;
};
