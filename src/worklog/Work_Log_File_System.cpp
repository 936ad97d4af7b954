#include "worklog/Work_Log_File_System.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

    bool Size(std::uint64_t& size, int& error_number) override
    {
        struct stat status
        {
        };
        if (::fstat(Descriptor, &status) != 0)
        {
            error_number = errno;
            return false;
        }
        size = static_cast<std::uint64_t>(status.st_size);
        return true;
    }

    bool Truncate(std::uint64_t length, int& error_number) override
    {
        int result = 0;
        do result = ::ftruncate(Descriptor, static_cast<off_t>(length));
        while (result != 0 && errno == EINTR);
        if (result == 0) return true;
        error_number = errno;
        return false;
    }

    bool Read_At(std::uint64_t offset, std::size_t count, std::string& data, int& error_number) override
    {
        data.resize(count);
        std::size_t done = 0;
        while (done < count)
        {
            const ssize_t got =
                ::pread(Descriptor, data.data() + done, count - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0)
            {
                error_number = errno;
                data.clear();
                return false;
            }
            if (got == 0) break;
            done += static_cast<std::size_t>(got);
        }
        data.resize(done);
        return true;
    }

private:
    int Descriptor;
};

// Wraps a freshly opened regular file, or reports why the open failed.
std::unique_ptr<Writable_File> Open_Writable(const std::string& path, int flags, int& error_number)
{
    const int descriptor = Open_Regular_File(path, flags, error_number);
    if (descriptor < 0) return nullptr;
    return std::make_unique<Posix_Writable_File>(descriptor);
}

}  // namespace

File_Kind Posix_Work_Log_File_System::Kind_Of(const std::string& path) const
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0) return File_Kind::Missing;
    if (S_ISREG(status.st_mode)) return File_Kind::Regular;
    if (S_ISDIR(status.st_mode)) return File_Kind::Directory;
    return File_Kind::Other;
}

bool Posix_Work_Log_File_System::Is_Read_Only(const std::string& path) const { return Is_Read_Only_File(path); }

bool Posix_Work_Log_File_System::May_Read(const std::string& path) const
{
    int ignored = 0;
    const int descriptor = Open_Regular_File(path, O_RDONLY, ignored);
    if (descriptor < 0) return false;
    ::close(descriptor);
    return true;
}

std::string Posix_Work_Log_File_System::Final_Target(const std::string& path) const { return Final_Link_Target(path); }

bool Posix_Work_Log_File_System::Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content,
                                             std::uint64_t& file_size, int& error_number)
{
    content.clear();
    file_size = 0;
    const int descriptor = Open_Regular_File(path, O_RDWR, error_number);
    if (descriptor < 0) return false;
    Posix_Writable_File file(descriptor);
    return file.Size(file_size, error_number) &&
           file.Read_At(0, static_cast<std::size_t>(std::min<std::uint64_t>(file_size, max_bytes)), content,
                        error_number);
}

std::unique_ptr<Writable_File> Posix_Work_Log_File_System::Create(const std::string& path, int& error_number)
{
    return Open_Writable(path, O_WRONLY | O_CREAT | O_TRUNC, error_number);
}

std::unique_ptr<Writable_File> Posix_Work_Log_File_System::Create_Replacement(const std::string& path,
                                                                              const std::string& replaced,
                                                                              int& error_number)
{
    const int descriptor = Open_Regular_File(path, O_WRONLY | O_CREAT | O_TRUNC, error_number);
    if (descriptor < 0) return nullptr;
    auto file = std::make_unique<Posix_Writable_File>(descriptor);
    struct stat status
    {
    };
    if (::stat(replaced.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        ::fchmod(descriptor, status.st_mode & 07777) != 0)
    {
        error_number = errno;
        return nullptr;
    }
    return file;
}

std::unique_ptr<Writable_File> Posix_Work_Log_File_System::Open_For_Append(const std::string& path, int& error_number)
{
    std::unique_ptr<Writable_File> file = Open_Writable(path, O_RDWR | O_APPEND, error_number);
    if (file || error_number != EACCES) return file;
    // A file that may only be written is appended to all the same; what an earlier
    // attempt left is then judged by its length alone.
    int write_only_error = 0;
    file = Open_Writable(path, O_WRONLY | O_APPEND, write_only_error);
    return file;
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
