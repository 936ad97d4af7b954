#include "ui/report/Report_Scope_Texts.h"

#include "config/Language_File.h"
#include "platform/Code_Page.h"

namespace
{
constexpr const char* English_Texts[] = {
    "",
    "This PC",
    "All my PCs",
    "Team",
    "The history server cannot be read.",
    "The history of this PC alone can be shown instead.",
    "Reading the history server...",
};
// UTF-8 here, CP1250 when the texts are made.
constexpr const char* Czech_Texts[] = {
    "",
    "Tento počítač",
    "Všechny mé počítače",
    "Tým",
    "Historii ze serveru nelze načíst.",
    "Místo ní lze zobrazit historii jen z tohoto počítače.",
    "Načítám historii ze serveru...",
};
static_assert(std::size(English_Texts) == std::size_t(Report_Scope_Text::Last) + 1);
static_assert(std::size(Czech_Texts) == std::size(English_Texts));
}  // namespace

Report_Scope_Texts::Report_Scope_Texts(bool czech)
{
    for (std::size_t key = 1; key < Texts.size(); ++key)
        Texts[key] = czech ? Utf8_To_Cp1250(Czech_Texts[key]) : English_Texts[key];
}

Report_Scope_Texts Report_Scope_Texts::Load(const std::string& language_file_path)
{
    Report_Scope_Texts texts(Is_Czech_Language_File(language_file_path));
    Read_Language_Section(language_file_path, Report_Scope_Language_Section, texts.Texts);
    return texts;
}
