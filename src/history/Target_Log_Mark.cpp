#include "history/Target_Log_Mark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/Posix_File.h"

namespace
{

constexpr std::uint64_t Head_Bytes = 64 * 1024;
constexpr std::uint64_t Ending_Bytes = 4 * 1024;

// FNV-1a over the bytes from offset, as sixteen hex digits; none when they cannot be read.
std::optional<std::string> Fingerprint(int descriptor, std::uint64_t offset, std::uint64_t length)
{
    std::vector<char> bytes(length);
    std::uint64_t done = 0;
    while (done < length)
    {
        const ssize_t count =
            ::pread(descriptor, bytes.data() + done, length - done, static_cast<off_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return std::nullopt;
        done += static_cast<std::uint64_t>(count);
    }
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : bytes)
    {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int digit = 15; digit >= 0; --digit, hash >>= 4) text[static_cast<std::size_t>(digit)] = Hex[hash & 0xF];
    return text;
}

struct Open_Log
{
    int Descriptor = -1;
    struct stat Status
    {
    };
    explicit Open_Log(const std::string& path)
    {
        int error_number = 0;
        Descriptor = Open_Regular_File(path, O_RDONLY, error_number);
        if (Descriptor >= 0 && ::fstat(Descriptor, &Status) != 0)
        {
            ::close(Descriptor);
            Descriptor = -1;
        }
    }
    ~Open_Log()
    {
        if (Descriptor >= 0) ::close(Descriptor);
    }
    Open_Log(const Open_Log&) = delete;
    Open_Log& operator=(const Open_Log&) = delete;
};

std::optional<Target_Log_Mark> Mark_Of(const Open_Log& log, std::uint64_t size)
{
    Target_Log_Mark mark;
    mark.Size = size;
    mark.Modified_Nanoseconds =
        static_cast<std::int64_t>(log.Status.st_mtim.tv_sec) * 1000000000 + log.Status.st_mtim.tv_nsec;
    const std::optional<std::string> head = Fingerprint(log.Descriptor, 0, std::min(size, Head_Bytes));
    const std::uint64_t ending = std::min(size, Ending_Bytes);
    const std::optional<std::string> tail = Fingerprint(log.Descriptor, size - ending, ending);
    if (!head || !tail) return std::nullopt;
    mark.Head_Fingerprint = *head;
    mark.Ending_Fingerprint = *tail;
    return mark;
}

}  // namespace

std::optional<Target_Log_Mark> Mark_Target_Log(const std::string& path)
{
    const Open_Log log(path);
    if (log.Descriptor < 0) return std::nullopt;
    return Mark_Of(log, static_cast<std::uint64_t>(log.Status.st_size));
}

std::optional<Target_Log_Mark> Mark_Target_Log_Part(const std::string& path, std::uint64_t size)
{
    const Open_Log log(path);
    if (log.Descriptor < 0 || static_cast<std::uint64_t>(log.Status.st_size) < size) return std::nullopt;
    return Mark_Of(log, size);
}

bool Target_Log_Grew_From(const std::string& path, const Target_Log_Mark& mark)
{
    const Open_Log log(path);
    if (log.Descriptor < 0 || static_cast<std::uint64_t>(log.Status.st_size) < mark.Size) return false;
    char last = '\n';
    if (mark.Size > 0 && ::pread(log.Descriptor, &last, 1, static_cast<off_t>(mark.Size - 1)) != 1) return false;
    if (last != '\n') return false;
    const std::optional<Target_Log_Mark> old_part = Mark_Of(log, mark.Size);
    return old_part && old_part->Head_Fingerprint == mark.Head_Fingerprint &&
           old_part->Ending_Fingerprint == mark.Ending_Fingerprint;
}

bool Target_Log_Unchanged(const Target_Log_Mark& stored, const Target_Log_Mark& now)
{
    return stored.Size == now.Size && stored.Modified_Nanoseconds == now.Modified_Nanoseconds &&
           stored.Head_Fingerprint == now.Head_Fingerprint && stored.Ending_Fingerprint == now.Ending_Fingerprint;
}
