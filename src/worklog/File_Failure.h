#pragma once
// Which protocol line a failed file operation gets. The numbers of the protocol lines are
// the old system's; an errno that only happens to have the same number (EIO is 5, EISDIR
// 21, EPIPE 32) must not pass for "access denied", "not ready" or "sharing violation".
#include "platform/File_Error.h"

struct File_Failure
{
    int Named_Code = 0;  // ERROR_ACCESS_DENIED, ...; 0 for an unexpected error
    File_Error Error;    // the number and text an unexpected error shows
};

inline File_Failure Classify_File_Failure(int error_number)
{
    const File_Error error = File_Error_From_Errno(error_number);
    return {error.Code != error_number ? error.Code : 0, error};
}
