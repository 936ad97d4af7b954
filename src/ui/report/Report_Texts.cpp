#include "ui/report/Report_Texts.h"

#include "platform/Ini_File.h"
#include "platform/Short_String.h"

namespace
{

// ASCII only, so the same bytes serve as CP1250.
constexpr const char* Built_In_Texts[] = {
    "",
    "Work history",
    "Week",
    "Month",
    "Year",
    "All",
    "Previous",
    "Next",
    "Save CSV",
    "Work type",
    "Time",
    "Share",
    "Time per day",
    "full time",
    "Worked",
    "Full-time target",
    "Overtime balance",
    "Nothing is recorded in this period.",
    "The work history cannot be read.",
    "Rebuild",
    "The history can be read anew from the target log, which holds every exported day.",
    "Reading the target log into the history...",
    "The CSV file could not be saved.",
    "Saved:",
    "Lines of the target log that do not fit its pattern:",
    "The history could not be rebuilt.",
    "The history database does not exist yet.",
    "The history database is damaged.",
    "The history database is read-only.",
    "The history database is locked by another program.",
    "A folder stands where the history database belongs.",
    "The history database cannot be opened.",
    "Loading the history...",
};
static_assert(std::size(Built_In_Texts) == std::size_t(Report_Text::Last) + 1);

}  // namespace

Report_Texts::Report_Texts()
{
    for (std::size_t key = 1; key < Texts.size(); ++key) Texts[key] = Built_In_Texts[key];
}

Report_Texts Report_Texts::Load(const std::string& language_file_path)
{
    Report_Texts texts;
    const Ini_File ini = Ini_File::Read_Once(language_file_path);
    for (std::size_t key = 1; key < texts.Texts.size(); ++key)
    {
        if (std::optional<std::string> value = ini.Read_Value(Report_Language_Section, std::to_string(key)))
            texts.Texts[key] = Cut_To_Short_String(*value);
    }
    return texts;
}

const char* Report_Texts::Built_In(Report_Text key) { return Built_In_Texts[std::size_t(key)]; }
