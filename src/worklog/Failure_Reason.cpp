#include "worklog/Failure_Reason.h"

#include <cerrno>

#include "platform/Format.h"
#include "platform/Short_String.h"
#include "worklog/File_Failure.h"

std::string File_Failure_Reason(const Language_Texts& texts, int error_number)
{
    if (error_number == ENOSPC || error_number == EDQUOT) return texts.Disk_Full_Reason;
    const File_Failure failure = Classify_File_Failure(error_number);
    if (failure.Named_Code == ERROR_ACCESS_DENIED) return texts.Access_Denied_Reason;
    const File_Error& error = failure.Error;
    return Cut_To_Short_String(
        Format(texts.Other_Failure_Reason, {std::to_string(error.Code), error.Text}).value_or(error.Text));
}
