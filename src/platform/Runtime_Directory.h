#pragma once
// The folder of the single-instance socket: one that no other user owns or can write, so
// nobody else can answer a start in the program's place or listen to what it says.
#include <sys/types.h>

#include <cstddef>
#include <string>

struct Runtime_Directory_Places
{
    std::string Runtime;    // XDG_RUNTIME_DIR; empty when unset
    std::string Temporary;  // TMPDIR; empty when unset
};

// The user's runtime folder when it is theirs alone; otherwise a folder
// "zentavo-logger-<uid>" of mode 0700 in the temporary folder (then in /tmp), made when
// missing. A name that someone else holds is passed over for the next one ("-1", "-2",
// ...), in the same order at every start, so all starts of the user meet in one folder.
// Folders longer than max_length are passed over too. Empty when none is usable.
std::string Private_Runtime_Directory(const Runtime_Directory_Places& places, uid_t user, std::size_t max_length);

// A real folder (not a link) owned by the user, with no write bit for group or others.
bool Is_Private_Directory(const std::string& path, uid_t user);

// A socket (not a link) owned by the user: only such a one may be spoken to.
bool Is_Own_Socket(const std::string& path, uid_t user);
