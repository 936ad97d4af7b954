#pragma once
// The record editor: a small modal dialog in which the user adds a work record to the day
// or changes a row of the record table. It writes no file; the main window keeps the day.
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "config/Program_Messages.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimer;
class Day_Rules;
class Message_Dialogs;
class Record_Table_View;
struct Dialog_Resources;
struct Language_Texts;
struct Settings;
class TUpdate_Record_Face_Drag;
class TVela_Button;

class TUpdate_Record_Form : public QDialog
{
    Q_OBJECT

public:
    // Edited_Row is the row to edit, or the number of rows to add a record.
    TUpdate_Record_Form(Day_Rules& rules, Settings& settings, const Language_Texts& texts, Record_Table_View& table,
                        const Dialog_Resources& resources, Message_Dialogs& message_dialogs, std::uint8_t Edited_Row);

    // Fills the dialog for adding a record or for editing the row Edited_Row.
    void Fill(bool add_mode);

    // Checks the input and stores the record; the dialog ends with Accepted on success and
    // stays open with everything the user typed when a check stops the save.
    void Update_Record_ButtonClick();

    static constexpr int Flash_Interval = 750;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Create_Components();
    void Set_Texts_From_Language_File(bool add_mode);
    bool Work_Type_Combo_BoxKeyDown(QKeyEvent* event);
    bool Hour_Edit_BoxKeyPress(QLineEdit* box, QKeyEvent* event);
    void Hour_Edit_BoxExit(QLineEdit* box);
    void Flash_TimerTimer();
    void Remark_Memo_BoxEnter();
    void Limit_Remark_Length();

    int Show_Message(Program_Message message, const std::vector<std::string>& arguments = {});

    Day_Rules& Rules;
    Settings& Setup;
    const Language_Texts& Texts;
    Record_Table_View& Table;
    const Dialog_Resources& Resources;
    Message_Dialogs& Dialogs;
    const std::uint8_t Edited_Row;

    std::uint8_t Flash_Row = 0;
    bool Flash_State = false;
    std::uint16_t New_Record_Minutes = 30;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Work_Type_Combo_Box = nullptr;
    QLineEdit* Hour_Edit_Box = nullptr;
    QLineEdit* Minute_Edit_Box = nullptr;
    QPlainTextEdit* Remark_Memo_Box = nullptr;
    TVela_Button* Update_Record_Button = nullptr;
    QTimer* Flash_Timer = nullptr;
    TUpdate_Record_Face_Drag* Face_Drag = nullptr;
};

// Creates the editor at its remembered position, fills it, shows it modally and frees it.
// Edited_Row is one past the last row to add, the clicked row to edit. Gives
// QDialog::Accepted when a record was saved; the caller then lays its window out again.
int Display_Update_Record_Form(Day_Rules& rules, Settings& settings, const Language_Texts& texts,
                               Record_Table_View& table, const Dialog_Resources& resources,
                               Message_Dialogs& message_dialogs, std::uint8_t Edited_Row, bool Add_Mode);

// The time boxes accept the digits also from the unshifted number row of the Czech
// keyboard (+ ě š č ř ž ý á í é for 1..9, 0); gives 0 for any other CP1250 character.
char Czech_Number_Row_Digit(unsigned char cp1250_character);

// The number a time box holds; text that is not one or two decimal digits counts as 0.
int Time_Box_Value(const QString& text);
