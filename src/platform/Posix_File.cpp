#include "platform/Posix_File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

bool Read_Whole_File(const std::string& path, std::string& content)
{
    content.clear();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
    {
        ::close(descriptor);
        return false;
    }
    std::array<char, 65536> buffer{};
    bool ok = true;
    for (;;)
    {
        const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
        if (count < 0)
        {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (count == 0) break;
        content.append(buffer.data(), static_cast<std::size_t>(count));
    }
    ::close(descriptor);
    return ok;
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
