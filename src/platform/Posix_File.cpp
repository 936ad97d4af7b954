#include "platform/Posix_File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>

int Open_Regular_File(const std::string& path, int flags, int& error_number, mode_t mode)
{
    // O_NONBLOCK keeps a FIFO without a writer (or reader) from holding the open forever.
    const int descriptor = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (descriptor < 0)
    {
        error_number = errno;
        // A FIFO opened for writing without a reader fails with ENXIO before it can be looked at.
        struct stat status
        {
        };
        if (error_number == ENXIO && ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            error_number = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    struct stat status
    {
    };
    if (::fstat(descriptor, &status) != 0)
    {
        error_number = errno;
        ::close(descriptor);
        return -1;
    }
    if (!S_ISREG(status.st_mode))
    {
        error_number = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        ::close(descriptor);
        return -1;
    }
    const int status_flags = ::fcntl(descriptor, F_GETFL);
    if (status_flags < 0 || ::fcntl(descriptor, F_SETFL, status_flags & ~O_NONBLOCK) != 0)
    {
        error_number = errno;
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

bool Read_Whole_File(const std::string& path, std::string& content, int& error_number)
{
    content.clear();
    const int descriptor = Open_Regular_File(path, O_RDONLY, error_number);
    if (descriptor < 0) return false;
    std::array<char, 65536> buffer{};
    bool ok = true;
    for (;;)
    {
        const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
        if (count < 0)
        {
            if (errno == EINTR) continue;
            error_number = errno;
            ok = false;
            break;
        }
        if (count == 0) break;
        content.append(buffer.data(), static_cast<std::size_t>(count));
    }
    ::close(descriptor);
    return ok;
}

bool Read_Whole_File(const std::string& path, std::string& content, int& error_number, std::uint64_t max_bytes)
{
    content.clear();
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) > max_bytes)
    {
        error_number = EFBIG;
        return false;
    }
    if (!Read_Whole_File(path, content, error_number)) return false;
    // A file that grew after the look at its size is refused all the same.
    if (content.size() <= max_bytes) return true;
    content.clear();
    error_number = EFBIG;
    return false;
}

bool Read_Whole_File(const std::string& path, std::string& content)
{
    int ignored = 0;
    return Read_Whole_File(path, content, ignored);
}

bool Write_All(int descriptor, std::string_view data)
{
    while (!data.empty())
    {
        const ssize_t count = ::write(descriptor, data.data(), data.size());
        if (count < 0)
        {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

std::string Directory_Of(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string Final_Link_Target(const std::string& path)
{
    std::string current = path;
    // As many links as the kernel itself follows; a loop ends where it was cut.
    for (int hop = 0; hop < 40; ++hop)
    {
        std::array<char, PATH_MAX> target{};
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return current;
        const std::string next(target.data(), static_cast<std::size_t>(length));
        if (next.empty()) return current;
        if (next.front() == '/')
        {
            current = next;
            continue;
        }
        current = Directory_Of(current);
        current += '/';
        current += next;
    }
    return current;
}
