#pragma once
// Which language file a user gets: at the first start the one of the user's locale, later
// the one Setup.ini names; and the language files a user can choose from.
#include <string>
#include <vector>

#include "config/Program_Paths.h"

// The locale variables in the order the C library weighs them.
struct Locale_Environment
{
    std::string Lc_All;
    std::string Lc_Messages;
    std::string Lang;
};
Locale_Environment Process_Locale_Environment();

// "Czech.lng" for a locale whose language is Czech, "English.lng" for any other.
std::string Language_File_For_Locale(const Locale_Environment& locale);

// The language file a first start (no Setup.ini, or one with First_Start) chooses when
// Setup.ini names none; empty when Setup.ini decides.
std::string First_Start_Language_File(const Program_Paths& paths, const Locale_Environment& locale);

// Writes the first start's choice into Setup.ini, so later starts keep it whatever the
// locale; false when Setup.ini could not be written.
bool Record_First_Start_Language(const Program_Paths& paths, const Locale_Environment& locale);

// The name Setup.ini gives the language file now: the first start's choice where it
// applies, else the key, else the default.
std::string Language_File_Name_For_Start(const Program_Paths& paths, const Locale_Environment& locale);

struct Language_File_Entry
{
    std::string File_Name;  // as Setup.ini holds it ("English.lng")
    std::string Name;       // the name the file gives itself (CP1250), else its file name without ".lng"
};
// The *.lng files in the program's folder, sorted by file name.
std::vector<Language_File_Entry> Available_Language_Files(const Program_Paths& paths);
