#pragma once
// The program's messages by name. One table gives each its icon, animation, text and
// buttons, so a call site says which message it puts and nothing about how it looks.
#include <string>
#include <vector>

#include "config/Language_Texts.h"
#include "config/Message_Dialogs.h"

enum class Program_Message
{
    Ask_Before_Deleting_Record,
    Ask_About_Missing_Day_Log,
    Ask_About_Unreadable_Day_Log,
    Ask_About_Damaged_Day_Log,
    Ask_Before_Exporting_Past_Day,
    Ask_To_Retry_Saving_At_Close,
    Ask_Before_Shutdown,
    Tell_Empty_Work_Type,
    Tell_Duplicate_Work_Type,
    Ask_Before_Clearing_Records,
    Tell_Duration_Too_Long,
    Tell_Zero_Duration,
    Ask_About_Overtime_When_Adding,
    Ask_About_Overtime_When_Editing,
    Tell_Day_Summary,
    Ask_To_Save_Changed_Settings,
    Tell_Day_Log_Not_Saved,
    Tell_Settings_Refused,
};

struct Message_Look
{
    const char* Icon_File_Name;
    int Animation_Interval;  // ms per frame of the icon
    int Text_Key;            // Message_Strings key; 0 when the caller gives the text
    int First_Button;        // Message_Buttons keys; 0 for no second button
    int Second_Button;
};

const Message_Look& Look_Of(Program_Message message);

// Puts the message with its text from the language file; gives 1 for the first button
// or Enter, 2 for the second button or Escape.
int Put_Message(Message_Dialogs& dialogs, const Language_Texts& texts, Program_Message message,
                const std::vector<std::string>& arguments = {});
// For messages whose text does not come from Message_Strings.
int Put_Message_Text(Message_Dialogs& dialogs, const Language_Texts& texts, Program_Message message,
                     const std::string& text, const std::vector<std::string>& arguments = {});
