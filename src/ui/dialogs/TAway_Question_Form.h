#pragma once
// The question after time away: "You were away from 12:05 to 12:50 (45 min)." with the
// record editor's work-type box and a remark; "Book it" adds the time to the day through
// the day's rules, "Leave unassigned" (or Escape) leaves it to the unassigned row.
#include <QDialog>

#include "worklog/Away_Time.h"

class QComboBox;
class QLabel;
class QLineEdit;
class Day_Rules;
class Message_Dialogs;
class TVela_Button;
struct Dialog_Resources;
struct Language_Texts;

class TAway_Question_Form : public QDialog
{
    Q_OBJECT

public:
    TAway_Question_Form(Day_Rules& rules, const Language_Texts& texts, const Dialog_Resources& resources,
                        Message_Dialogs& message_dialogs, const Away_Period& period);

    // Stores the time with the chosen work type; the dialog ends with Accepted once it is
    // booked, with Rejected when the day has no room for another record, and stays open
    // with what the user typed when a check stops the booking.
    void Book_ButtonClick();

    QComboBox* Work_Type_Box() const { return Work_Type_Combo_Box; }
    QLineEdit* Remark_Box() const { return Remark_Edit_Box; }
    QLabel* Question_Label() const { return Question; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Day_Rules& Rules;
    const Language_Texts& Texts;
    Message_Dialogs& Dialogs;
    const Away_Period Period;

    QLabel* Question = nullptr;
    QComboBox* Work_Type_Combo_Box = nullptr;
    QLineEdit* Remark_Edit_Box = nullptr;
    TVela_Button* Book_Button = nullptr;
    TVela_Button* Leave_Button = nullptr;
};

// The question text: the period's clock times and minutes in the language file's pattern.
std::string Away_Question_Text(const std::string& language_file_path, const Away_Period& period);

// Shows the question modally; gives QDialog::Accepted when the time was booked.
int Display_Away_Question_Form(Day_Rules& rules, const Language_Texts& texts, const Dialog_Resources& resources,
                               Message_Dialogs& message_dialogs, const Away_Period& period);
