#pragma once
// Texts added to the language file after its first version: each has its own key, and a
// language file without the key gets the built-in text of its language (Czech for
// Czech.lng, English otherwise) rather than the bare key.
#include <string>
#include <string_view>

struct Newer_Text
{
    std::string_view Section;
    std::string_view Key;
    std::string_view English;
    std::string_view Czech;  // UTF-8 here; CP1250 once read
};

namespace Newer_Texts
{
inline constexpr Newer_Text Instance_Not_Reached{
    "Program_Start", "1",
    "Zentavo Logger already runs for the folder %0:s, but it did not answer (it may run in another "
    "session or on another computer).##Only one copy may work with these files; end the other copy first.",
    "Zentavo Logger už běží se složkou %0:s, ale neodpověděl (může běžet v jiné relaci nebo na jiném "
    "počítači).##S těmito soubory smí pracovat jen jedna kopie; nejdřív ukončete tu druhou."};
inline constexpr Newer_Text No_Runtime_Folder{
    "Program_Start", "2",
    "No private folder could be made for the program's socket (XDG_RUNTIME_DIR cannot be used and "
    "the names in %0:s are taken by others).##The program does not start, so that no second copy "
    "can work with the same files.",
    "Pro soket programu nelze vytvořit soukromou složku (XDG_RUNTIME_DIR nelze použít a názvy "
    "v %0:s obsadil někdo jiný).##Program se nespustí, aby se stejnými soubory nemohla pracovat "
    "druhá kopie."};
inline constexpr Newer_Text No_Opener{
    "Program_Start", "3",
    "The file %0:s cannot be opened: no program for opening files is installed (xdg-open from the "
    "package xdg-utils).",
    "Soubor %0:s nelze otevřít: není nainstalován program pro otevírání souborů (xdg-open z balíčku "
    "xdg-utils)."};

inline constexpr Newer_Text Tray_Show_Hide{"Tray_Menu", "1", "Show/Hide", "Zobrazit/Skrýt"};
inline constexpr Newer_Text Tray_Add_Record{"Tray_Menu", "2", "Add record", "Přidat záznam"};
inline constexpr Newer_Text Tray_Report{"Tray_Menu", "3", "Report", "Přehled"};
inline constexpr Newer_Text Tray_Settings{"Tray_Menu", "4", "Settings", "Nastavení"};
inline constexpr Newer_Text Tray_Quit{"Tray_Menu", "5", "Quit", "Ukončit"};

inline constexpr Newer_Text Setup_Language{"Language", "1", "Language", "Jazyk"};
inline constexpr Newer_Text Away_Title{"Away_Question", "1", "Time away", "Čas mimo počítač"};
inline constexpr Newer_Text Away_Question{"Away_Question", "2", "You were away from %0:s to %1:s (%2:s min).",
                                          "Byli jste pryč od %0:s do %1:s (%2:s min)."};
inline constexpr Newer_Text Away_Book{"Away_Question", "3", "Book it", "Zapsat"};
inline constexpr Newer_Text Away_Leave{"Away_Question", "4", "Leave unassigned", "Nezařazovat"};
inline constexpr Newer_Text Away_Day_Full{
    "Away_Question", "5", "The day holds as many records as it can; the time away stays unassigned.",
    "Den už má tolik záznamů, kolik může mít; čas mimo počítač zůstane nezařazen."};

inline constexpr Newer_Text Read_Denied_Reason{"Save_Warning", "7", "The file may not be read.", "Soubor nelze číst."};
}  // namespace Newer_Texts

// The text in CP1250, from the language file or built in.
std::string Read_Newer_Text(const std::string& language_file_path, const Newer_Text& text);
// The built-in text alone, in CP1250.
std::string Built_In_Text(const Newer_Text& text, bool czech);
