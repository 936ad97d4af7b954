#include "config/Program_Messages.h"

#include <array>
#include <cstddef>

namespace
{

constexpr const char* Error_Icon = "Error_Icon_Source.bmp";
constexpr const char* Warning_Icon = "Warning_Icon_Source.bmp";
constexpr const char* Overtime_Icon = "Overtime_Icon_Source.bmp";

// Questions answer with Message_Buttons 2 and 3 (yes, no), the start-up's with 5 and 6
// or 4 and 6; notices have the one button 1.
constexpr std::array Message_Looks{
    Message_Look{Warning_Icon, 32, 1, 2, 3},                 // Ask_Before_Deleting_Record
    Message_Look{Error_Icon, 70, 2, 5, 6},                   // Ask_About_Missing_Day_Log
    Message_Look{Error_Icon, 70, 3, 5, 6},                   // Ask_About_Unreadable_Day_Log
    Message_Look{Error_Icon, 70, 4, 5, 6},                   // Ask_About_Damaged_Day_Log
    Message_Look{Error_Icon, 70, 5, 4, 6},                   // Ask_Before_Exporting_Past_Day
    Message_Look{Error_Icon, 70, 6, 4, 6},                   // Ask_To_Retry_Saving_At_Close
    Message_Look{"Shutdown_Icon_Source.bmp", 35, 7, 2, 3},   // Ask_Before_Shutdown
    Message_Look{Error_Icon, 70, 8, 1, 0},                   // Tell_Empty_Work_Type
    Message_Look{Error_Icon, 70, 9, 1, 0},                   // Tell_Duplicate_Work_Type
    Message_Look{Warning_Icon, 32, 10, 2, 3},                // Ask_Before_Clearing_Records
    Message_Look{Error_Icon, 70, 11, 1, 0},                  // Tell_Duration_Too_Long
    Message_Look{Error_Icon, 70, 12, 1, 0},                  // Tell_Zero_Duration
    Message_Look{Overtime_Icon, 70, 13, 2, 3},               // Ask_About_Overtime_When_Adding
    Message_Look{Overtime_Icon, 70, 14, 2, 3},               // Ask_About_Overtime_When_Editing
    Message_Look{"Summary_Icon_Source.bmp", 100, 15, 1, 0},  // Tell_Day_Summary
    Message_Look{Warning_Icon, 32, 19, 2, 3},                // Ask_To_Save_Changed_Settings
    Message_Look{Error_Icon, 70, 0, 1, 0},                   // Tell_Day_Log_Not_Saved
    Message_Look{Error_Icon, 70, 0, 1, 0},                   // Tell_Settings_Refused
};
static_assert(Message_Looks.size() == static_cast<std::size_t>(Program_Message::Tell_Settings_Refused) + 1,
              "one look per message");

const std::string& Button(const Language_Texts& texts, int key)
{
    static const std::string none;
    return key > 0 ? texts.Message_Buttons[static_cast<std::size_t>(key)] : none;
}

}  // namespace

const Message_Look& Look_Of(Program_Message message) { return Message_Looks[static_cast<std::size_t>(message)]; }

int Put_Message(Message_Dialogs& dialogs, const Language_Texts& texts, Program_Message message,
                const std::vector<std::string>& arguments)
{
    const Message_Look& look = Look_Of(message);
    return Put_Message_Text(dialogs, texts, message, texts.Message_Strings[static_cast<std::size_t>(look.Text_Key)],
                            arguments);
}

int Put_Message_Text(Message_Dialogs& dialogs, const Language_Texts& texts, Program_Message message,
                     const std::string& text, const std::vector<std::string>& arguments)
{
    const Message_Look& look = Look_Of(message);
    return dialogs.Display_Message_Dialog(look.Icon_File_Name, look.Animation_Interval, text,
                                          Button(texts, look.First_Button), Button(texts, look.Second_Button),
                                          arguments);
}
