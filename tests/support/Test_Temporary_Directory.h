#pragma once
// A private directory for one test, removed with everything in it when the test ends.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

class Test_Temporary_Directory
{
public:
    Test_Temporary_Directory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zl_test_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        Directory_Path = pattern + "/";
    }
    ~Test_Temporary_Directory()
    {
        std::error_code ignored;
        // Restore write bits first so that read-only fixtures can be removed.
        for (auto& entry : std::filesystem::recursive_directory_iterator(Directory_Path, ignored))
            ::chmod(entry.path().c_str(), 0755);
        std::filesystem::remove_all(Directory_Path, ignored);
    }
    Test_Temporary_Directory(const Test_Temporary_Directory&) = delete;
    Test_Temporary_Directory& operator=(const Test_Temporary_Directory&) = delete;

    const std::string& Path() const { return Directory_Path; }  // ends with '/'
    std::string File(const std::string& name) const { return Directory_Path + name; }
    void Write(const std::string& name, const std::string& bytes) const { Write_File(File(name), bytes); }
    std::string Read(const std::string& name) const { return Read_File(File(name)); }

    static void Write_File(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    static std::string Read_File(const std::string& path)
    {
        std::ifstream stream(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

private:
    std::string Directory_Path;
};
