#pragma once
// A language may ship its own counterpart of a file of the program folder: the English work
// types beside Work_Type_List, the English splash picture beside Splash_Screen.bmp. The
// language file names it in its section Language. The counterpart stands in for the file
// only while the user has not changed the file: a list the user edited is theirs, in any
// language.
#include <string>

struct Program_Paths;

// The path, relative to the program folder, to read instead of file: the counterpart when
// it exists inside the folder, unless the folder's seeding manifest shows that file is not
// the copy it seeded (the user changed it, or it was there before the seeding).
std::string Language_Counterpart(const Program_Paths& paths, const std::string& file, const std::string& counterpart);
