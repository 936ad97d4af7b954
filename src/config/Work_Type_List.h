#pragma once
// The work types offered by the record editor and the settings dialog: the lines of the
// file Work_Type_List beside the program (CP1250, one work type per line).
#include <string>
#include <vector>

class Error_List;
struct Program_Paths;

inline constexpr const char* Work_Type_List_File_Name = "Work_Type_List";

// Lines end with CR LF, LF or CR alone; empty lines offer nothing and are left out.
std::vector<std::string> Split_Work_Type_Lines(const std::string& content);

// The work types of the file, or of the language's counterpart of it (see
// Language_Counterpart); a file that cannot be read gives an empty list and one protocol
// line naming the path and the reason, so the dialog still opens.
std::vector<std::string> Read_Work_Type_List(const Program_Paths& paths, Error_List& error_list,
                                             const std::string& language_counterpart = {});
