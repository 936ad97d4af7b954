#pragma once
// What the main window asks of the desktop: open the target log with its associated
// program, and power the computer off. Tests pass a recording fake; nothing in a test may
// reach the real shutdown.
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
    void Open_Document(const std::string& path) override;
    void Request_Shutdown() override;
};
