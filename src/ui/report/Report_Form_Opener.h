#pragma once
// Opens the report window for the main window. The window is built at its first opening
// (nothing of it is loaded at start-up) and then kept, hidden while closed, so it comes
// back where the user left it, showing the period it showed.
#include <QPixmap>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "ui/report/TReport_Form.h"

struct Dialog_Resources;
struct Language_Texts;
struct Program_Paths;
struct Settings;

class Report_Form_Opener
{
public:
    // Given the program's paths and settings, which live as long as the program.
    using Source_Factory = std::function<std::unique_ptr<Report_Source>(const Program_Paths&, const Settings&)>;

    Report_Form_Opener(Source_Factory make_source, std::string date_pattern)
        : Make_Source(std::move(make_source)), Date_Pattern(std::move(date_pattern))
    {
    }

    // Gives true: the window is open and has the keyboard.
    bool Display_Report_Form(const Settings& settings, const Language_Texts& texts, const Dialog_Resources& resources);
    TReport_Form* Report_Form() const { return Form.data(); }

private:
    Source_Factory Make_Source;
    std::string Date_Pattern;
    QPointer<TReport_Form> Form;
};

// The window's skins, colours and texts from the program's files and settings.
Report_Form_Setup Make_Report_Form_Setup(const Program_Paths& paths, const Settings& settings,
                                         const Language_Texts& texts, const QPixmap& button_skin,
                                         std::unique_ptr<Report_Source> source, const std::string& date_pattern);
