#pragma once
// What the main window asks of the desktop: open the target log with its associated
// program, and power the computer off. Tests pass a recording fake; nothing in a test may
// reach the real shutdown.
#include <functional>
#include <string>

class Program_Shell
{
public:
    virtual ~Program_Shell() = default;
    virtual void Open_Document(const std::string& path) = 0;
    virtual void Request_Shutdown() = 0;
};

// The desktop's own handlers: QDesktopServices for documents, systemctl for the shutdown.
class Qt_Program_Shell final : public Program_Shell
{
public:
    // Told the document's path when no program for opening documents is installed.
    explicit Qt_Program_Shell(std::function<void(const std::string&)> no_opener = {}) : No_Opener(std::move(no_opener))
    {
    }
    void Open_Document(const std::string& path) override;
    void Request_Shutdown() override;

private:
    std::function<void(const std::string&)> No_Opener;
};
