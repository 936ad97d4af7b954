#include "worklog/Work_Log_File_System.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/File_Error.h"
#include "platform/Posix_File.h"

namespace
{

class Posix_Writable_File final : public Writable_File
{
public:
    explicit Posix_Writable_File(int descriptor) : Descriptor(descriptor) {}
    ~Posix_Writable_File() override
    {
        if (Descriptor >= 0) ::close(Descriptor);
    }

    bool Write(std::string_view data, int& error_number) override
    {
        if (Write_All(Descriptor, data)) return true;
        error_number = errno;
        return false;
    }

    bool Sync(int& error_number) override
    {
        if (::fsync(Descriptor) == 0) return true;
        error_number = errno;
        return false;
    }

    bool Close(int& error_number) override
    {
        const int descriptor = Descriptor;
        Descriptor = -1;
        if (::close(descriptor) == 0) return true;
        error_number = errno;
        return false;
    }

private:
    int Descriptor;
};

// Wraps a freshly opened descriptor, or reports why the open failed.
std::unique_ptr<Writable_File> Open_Writable(const std::string& path, int flags, int& error_number)
{
    const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (descriptor < 0)
    {
        error_number = errno;
        return nullptr;
    }
    return std::make_unique<Posix_Writable_File>(descriptor);
}

}  // namespace

bool Posix_Work_Log_File_System::Is_File(const std::string& path) const
{
    struct stat status{};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool Posix_Work_Log_File_System::Is_Read_Only(const std::string& path) const
{
    return Is_Read_Only_File(path);
}

bool Posix_Work_Log_File_System::Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content,
                                             std::uint64_t& file_size, int& error_number)
{
    content.clear();
    file_size = 0;
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0)
    {
        error_number = errno;
        return false;
    }
    struct stat status{};
    if (::fstat(descriptor, &status) != 0)
    {
        error_number = errno;
        ::close(descriptor);
        return false;
    }
    file_size = static_cast<std::uint64_t>(status.st_size);
    content.resize(static_cast<std::size_t>(std::min<std::uint64_t>(file_size, max_bytes)));
    std::size_t done = 0;
    while (done < content.size())
    {
        const ssize_t got = ::pread(descriptor, content.data() + done, content.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0)
        {
            error_number = errno;
            ::close(descriptor);
            return false;
        }
        if (got == 0) break;  // shrank meanwhile
        done += static_cast<std::size_t>(got);
    }
    content.resize(done);
    ::close(descriptor);
    return true;
}

std::unique_ptr<Writable_File> Posix_Work_Log_File_System::Create(const std::string& path, int& error_number)
{
    return Open_Writable(path, O_WRONLY | O_CREAT | O_TRUNC, error_number);
}

std::unique_ptr<Writable_File> Posix_Work_Log_File_System::Open_For_Append(const std::string& path, int& error_number)
{
    return Open_Writable(path, O_WRONLY | O_APPEND, error_number);
}

bool Posix_Work_Log_File_System::Rename(const std::string& from, const std::string& to, int& error_number)
{
    if (std::rename(from.c_str(), to.c_str()) != 0)
    {
        error_number = errno;
        return false;
    }
    // The new directory entry survives a power cut only once the directory is synced.
    const int directory = ::open(Directory_Of(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0)
    {
        ::fsync(directory);
        ::close(directory);
    }
    return true;
}

bool Posix_Work_Log_File_System::Remove(const std::string& path, int& error_number)
{
    if (::unlink(path.c_str()) == 0) return true;
    error_number = errno;
    return false;
}
