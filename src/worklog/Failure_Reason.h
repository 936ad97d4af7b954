#pragma once
// The reason a failed file operation gives the user, in the language's words (CP1250):
// a full disk, a file that may not be written, or the system's number and text.
#include <string>

#include "config/Language_Texts.h"

std::string File_Failure_Reason(const Language_Texts& texts, int error_number);
