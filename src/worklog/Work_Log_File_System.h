#pragma once
// The file operations of the day log and the target log, behind one seam, so tests can
// make a write fail part-way or stop the sequence after any step. Failures give false
// and the POSIX errno. No open blocks: a FIFO, a device or a directory where a regular
// file belongs is refused at once (EINVAL, EISDIR).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class Writable_File
{
public:
    virtual ~Writable_File() = default;  // closes without reporting
    // Writes all of the data or fails.
    virtual bool Write(std::string_view data, int& error_number) = 0;
    virtual bool Sync(int& error_number) = 0;
    virtual bool Close(int& error_number) = 0;
    virtual bool Size(std::uint64_t& size, int& error_number) = 0;
    // Cuts the file back to length bytes.
    virtual bool Truncate(std::uint64_t length, int& error_number) = 0;
    // Reads up to count bytes from offset (fewer at the end of the file).
    virtual bool Read_At(std::uint64_t offset, std::size_t count, std::string& data, int& error_number) = 0;
};

enum class File_Kind
{
    Missing,  // nothing there (a link to nothing included)
    Regular,  // a regular file, or a link to one
    Directory,
    Other,  // a FIFO, a device, a socket
};

class Work_Log_File_System
{
public:
    virtual ~Work_Log_File_System() = default;

    // What the path names, following symbolic links.
    virtual File_Kind Kind_Of(const std::string& path) const = 0;
    bool Is_File(const std::string& path) const { return Kind_Of(path) == File_Kind::Regular; }
    // An existing file whose mode has no write bit; refused even for root.
    virtual bool Is_Read_Only(const std::string& path) const = 0;
    // Whether this process may open the file for reading (what a refused open tells the user).
    virtual bool May_Read(const std::string& path) const = 0;
    // Where a chain of symbolic links ends; the path itself when it is no link.
    virtual std::string Final_Target(const std::string& path) const = 0;
    // Opens an existing file for reading and writing as a check that it may be used, and
    // reads at most max_bytes from its start; file_size gets its whole length.
    virtual bool Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content,
                             std::uint64_t& file_size, int& error_number) = 0;
    // Creates the file anew or truncates it; a new file gets no write bit for others.
    virtual std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) = 0;
    // Creates a new file that is to replace another: it takes the mode of the file it
    // replaces when that file exists.
    virtual std::unique_ptr<Writable_File> Create_Replacement(const std::string& path, const std::string& replaced,
                                                              int& error_number) = 0;
    // Opens an existing file for reading and for writing at its end.
    virtual std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) = 0;
    // Replaces to atomically; also makes the rename itself durable.
    virtual bool Rename(const std::string& from, const std::string& to, int& error_number) = 0;
    virtual bool Remove(const std::string& path, int& error_number) = 0;
};

class Posix_Work_Log_File_System final : public Work_Log_File_System
{
public:
    File_Kind Kind_Of(const std::string& path) const override;
    bool Is_Read_Only(const std::string& path) const override;
    bool May_Read(const std::string& path) const override;
    std::string Final_Target(const std::string& path) const override;
    bool Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content, std::uint64_t& file_size,
                     int& error_number) override;
    std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) override;
    std::unique_ptr<Writable_File> Create_Replacement(const std::string& path, const std::string& replaced,
                                                      int& error_number) override;
    std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) override;
    bool Rename(const std::string& from, const std::string& to, int& error_number) override;
    bool Remove(const std::string& path, int& error_number) override;
};

// Forwards every call to another file layer; a test derives from it and overrides only
// the calls it wants to fail or to watch.
class Work_Log_File_System_Wrapper : public Work_Log_File_System
{
public:
    explicit Work_Log_File_System_Wrapper(Work_Log_File_System& target) : Target(target) {}

    File_Kind Kind_Of(const std::string& path) const override { return Target.Kind_Of(path); }
    bool Is_Read_Only(const std::string& path) const override { return Target.Is_Read_Only(path); }
    bool May_Read(const std::string& path) const override { return Target.May_Read(path); }
    std::string Final_Target(const std::string& path) const override { return Target.Final_Target(path); }
    bool Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content, std::uint64_t& file_size,
                     int& error_number) override
    {
        return Target.Read_Prefix(path, max_bytes, content, file_size, error_number);
    }
    std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) override
    {
        return Target.Create(path, error_number);
    }
    std::unique_ptr<Writable_File> Create_Replacement(const std::string& path, const std::string& replaced,
                                                      int& error_number) override
    {
        return Target.Create_Replacement(path, replaced, error_number);
    }
    std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) override
    {
        return Target.Open_For_Append(path, error_number);
    }
    bool Rename(const std::string& from, const std::string& to, int& error_number) override
    {
        return Target.Rename(from, to, error_number);
    }
    bool Remove(const std::string& path, int& error_number) override { return Target.Remove(path, error_number); }

private:
    Work_Log_File_System& Target;
};
