#pragma once
// The texts of the user interface, read from the language file (CP1250 bytes).
#include <array>
#include <string>

struct Language_Texts
{
    std::string Language_File_Path;
    bool Is_Czech_Language = false;

    std::array<std::string, 5> Main_Form_Captions;  // [1..4]: add, setup, open log, shutdown
    std::array<std::string, 8> Day_Names;           // [1..7]: Sunday .. Saturday
    std::array<std::string, 6> Column_Names;        // [0..5]
    std::string Day_Row_Label;                      // Column_Names "6"
    std::string Tray_Hint_Format;                   // no length limit; "#" is a line break at use
    std::string Tray_Text_2;
    std::string Tray_Text_3;                      // "#" already replaced by CR
    std::array<std::string, 20> Message_Strings;  // [1..19]
    std::array<std::string, 7> Message_Buttons;   // [1..6]

    // The warning when the day cannot be stored while the program runs (section
    // Save_Warning); a language file without these keys gets the built-in texts.
    std::string Save_Failed_Message;     // "1": %0:s the reason
    std::string Disk_Full_Reason;        // "2"
    std::string Access_Denied_Reason;    // "3"
    std::string Other_Failure_Reason;    // "4": %0:s the error's number, %1:s the system's text for it
    std::string Invalid_Pattern_Reason;  // "5": %0:s the target log's line pattern
    std::string No_Target_Log_Reason;    // "6": Setup.ini names no target log

    // The language's own work types (section Language, key Work_Type_List), a file of the
    // program folder used instead of Work_Type_List; empty: none.
    std::string Work_Type_List_Counterpart;
};
