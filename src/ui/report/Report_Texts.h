#pragma once
// The report window's texts, section Report_Form of the language file. A language file
// without them (an older or a user's own file) still gives a readable window: each missing
// key falls back to a built-in English text (the keys added since the window came also to a
// built-in Czech one, for Czech.lng); a key present with an empty value stays empty.
#include <array>
#include <string>

enum class Report_Text
{
    Window_Title = 1,
    Week,
    Month,
    Year,
    All,
    Previous,
    Next,
    Save_Csv,
    Work_Type,
    Time,
    Share,
    Time_Per_Day,
    Full_Time_Line,
    Worked,
    Full_Time_Target,
    Overtime_Balance,
    Nothing_Recorded,
    History_Unreadable,
    Rebuild,
    Rebuild_Explanation,
    Reading_Target_Log,
    Csv_Not_Saved,
    Csv_Saved,
    Unreadable_Lines,
    Rebuild_Failed,
    Store_Missing,
    Store_Damaged,
    Store_Read_Only,
    Store_Locked,
    Store_Directory,
    Store_Unopenable,
    Loading,
    No_Finished_Days,  // the history has not begun: no calm message is an error
    No_Finished_Days_Detail,
    Csv_Files,  // the save dialog's file type and labels
    Save_Dialog_File_Name,
    Save_Dialog_File_Type,
    Save_Dialog_Look_In,
    Save_Dialog_Save,
    Save_Dialog_Cancel,
    Replace_Question,      // %0:s the file
    Booked_Beyond_Worked,  // under the totals, before hh:mm
    Last = Booked_Beyond_Worked
};

inline constexpr const char* Report_Language_Section = "Report_Form";

class Report_Texts
{
public:
    // Every text built in (English; Czech for the newer keys when asked).
    explicit Report_Texts(bool czech = false);
    // The file's texts (CP1250), each missing one from the built-in set.
    static Report_Texts Load(const std::string& language_file_path);

    // CP1250, as the language file holds it.
    const std::string& operator[](Report_Text key) const { return Texts[std::size_t(key)]; }

    static const char* Built_In(Report_Text key);
    // The built-in Czech text (CP1250) of a key that has one, else the English one.
    static const char* Built_In_Czech(Report_Text key);

private:
    std::array<std::string, std::size_t(Report_Text::Last) + 1> Texts;
};
