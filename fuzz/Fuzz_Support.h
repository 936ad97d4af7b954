#pragma once
// What the fuzz targets share: one private directory per process, and a check that
// aborts with a message so that libFuzzer keeps the input that broke an invariant.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#define ZL_FUZZ_CHECK(condition)                                                                   \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
        {                                                                                          \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

class Fuzz_Directory
{
public:
    Fuzz_Directory()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != 0 ? base : "/tmp") + "/zl_fuzz_XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        Directory_Path = pattern + "/";
    }
    ~Fuzz_Directory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Directory_Path, ignored);
    }
    Fuzz_Directory(const Fuzz_Directory&) = delete;
    Fuzz_Directory& operator=(const Fuzz_Directory&) = delete;

    // Ends with '/'.
    const std::string& Path() const { return Directory_Path; }
    std::string File(const std::string& name) const { return Directory_Path + name; }

    // Removes whatever the previous input left, so every input starts alike.
    void Empty() const
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(Directory_Path, ignored))
        {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }

    void Write(const std::string& name, std::string_view bytes) const
    {
        std::ofstream stream(File(name), std::ios::binary | std::ios::trunc);
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!stream) std::abort();
    }

    std::string Read(const std::string& name) const
    {
        std::ifstream stream(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

private:
    std::string Directory_Path;
};
