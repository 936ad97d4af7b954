#pragma once
// Every file of the program lies beside the executable.
#include <string>

struct Program_Paths
{
    std::string Program_Directory;  // ends with '/'
    std::string Skin_Directory;     // Program_Directory + "Skin/"

    explicit Program_Paths(std::string program_directory)
        : Program_Directory(With_Trailing_Slash(std::move(program_directory))),
          Skin_Directory(Program_Directory + "Skin/")
    {
    }

    std::string File(const std::string& name) const { return Program_Directory + name; }
    std::string Skin(const std::string& name) const { return Skin_Directory + name; }

private:
    static std::string With_Trailing_Slash(std::string directory)
    {
        if (directory.empty() || directory.back() != '/') directory += '/';
        return directory;
    }
};
