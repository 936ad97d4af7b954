#pragma once
// The file operations of the day log and the target log, behind one seam, so tests can
// make a write fail part-way. Failures give false and the POSIX errno.
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
};

class Work_Log_File_System
{
public:
    virtual ~Work_Log_File_System() = default;

    // A regular file (a directory is not).
    virtual bool Is_File(const std::string& path) const = 0;
    // An existing file whose mode has no write bit; refused even for root.
    virtual bool Is_Read_Only(const std::string& path) const = 0;
    // Opens an existing file for reading and writing as a check that it may be used, and
    // reads at most max_bytes from its start; file_size gets its whole length.
    virtual bool Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content,
                             std::uint64_t& file_size, int& error_number) = 0;
    // Creates the file anew or truncates it.
    virtual std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) = 0;
    // Opens an existing file for writing at its end.
    virtual std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) = 0;
    // Replaces to atomically; also makes the rename itself durable.
    virtual bool Rename(const std::string& from, const std::string& to, int& error_number) = 0;
    virtual bool Remove(const std::string& path, int& error_number) = 0;
};

class Posix_Work_Log_File_System final : public Work_Log_File_System
{
public:
    bool Is_File(const std::string& path) const override;
    bool Is_Read_Only(const std::string& path) const override;
    bool Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content, std::uint64_t& file_size,
                     int& error_number) override;
    std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) override;
    std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) override;
    bool Rename(const std::string& from, const std::string& to, int& error_number) override;
    bool Remove(const std::string& path, int& error_number) override;
};
