#pragma once
// The texts of the report window's switch between this PC and the history server, section
// Report_Scope of the language file; a missing key falls back to a built-in text, Czech
// for Czech.lng and English otherwise.
#include <array>
#include <string>

enum class Report_Scope_Text
{
    This_Pc = 1,
    My_Pcs,
    Team,
    Server_Unreadable,
    Local_Offered,
    Reading_Server,
    Last = Reading_Server
};

inline constexpr const char* Report_Scope_Language_Section = "Report_Scope";

class Report_Scope_Texts
{
public:
    explicit Report_Scope_Texts(bool czech = false);
    // The file's texts (CP1250), each missing one built in.
    static Report_Scope_Texts Load(const std::string& language_file_path);

    // CP1250, as the language file holds it.
    const std::string& operator[](Report_Scope_Text key) const { return Texts[std::size_t(key)]; }

private:
    std::array<std::string, std::size_t(Report_Scope_Text::Last) + 1> Texts;
};
