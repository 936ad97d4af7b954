#include "ui/report/Report_Texts.h"

#include <vector>

#include "config/Language_File.h"
#include "platform/Code_Page.h"

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
    "No finished days yet.",
    "Each working day appears here once it is finished and written to the target log.",
    "CSV files",
    "File name:",
    "File type:",
    "Look in:",
    "Save",
    "Cancel",
    "%0:s already exists. Replace it?",
    "Booked beyond worked:",
};

// UTF-8 here, CP1250 when the texts are made; only the keys the window gained later.
constexpr Report_Text First_Czech_Key = Report_Text::No_Finished_Days;
constexpr const char* Built_In_Czech_Texts[] = {
    "Zatím žádné dokončené dny.",
    "Každý pracovní den se tu objeví, jakmile skončí a zapíše se do cílového logu.",
    "Soubory CSV",
    "Název souboru:",
    "Typ souboru:",
    "Hledat v:",
    "Uložit",
    "Zrušit",
    "Soubor %0:s už existuje. Nahradit ho?",
    "Vykázáno nad odpracované:",
};
static_assert(std::size(Built_In_Czech_Texts) == std::size_t(Report_Text::Last) - std::size_t(First_Czech_Key) + 1);
static_assert(std::size(Built_In_Texts) == std::size_t(Report_Text::Last) + 1);

}  // namespace

Report_Texts::Report_Texts(bool czech)
{
    for (std::size_t key = 1; key < Texts.size(); ++key)
        Texts[key] = czech ? Built_In_Czech(Report_Text(key)) : Built_In(Report_Text(key));
}

Report_Texts Report_Texts::Load(const std::string& language_file_path)
{
    Report_Texts texts(Is_Czech_Language_File(language_file_path));
    Read_Language_Section(language_file_path, Report_Language_Section, texts.Texts);
    return texts;
}

const char* Report_Texts::Built_In(Report_Text key) { return Built_In_Texts[std::size_t(key)]; }

const char* Report_Texts::Built_In_Czech(Report_Text key)
{
    if (key < First_Czech_Key) return Built_In(key);
    // Converted once; the texts live as long as the program.
    static const std::vector<std::string> converted = [] {
        std::vector<std::string> texts;
        for (const char* text : Built_In_Czech_Texts) texts.push_back(Utf8_To_Cp1250(text));
        return texts;
    }();
    return converted[std::size_t(key) - std::size_t(First_Czech_Key)].c_str();
}
