#include "ui/report/Report_Form_Opener.h"

#include <QGuiApplication>
#include <QScreen>

#include "config/Language_Texts.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/Skin_Bitmap.h"
#include "ui/controls/Ui_Text.h"
#include "ui/dialogs/Dialog_Resources.h"

Report_Form_Setup Make_Report_Form_Setup(const Program_Paths& paths, const Settings& settings,
                                         const Language_Texts& texts, const QPixmap& button_skin,
                                         std::unique_ptr<Report_Source> source, const std::string& date_pattern)
{
    Report_Form_Setup setup;
    setup.Source = std::move(source);
    setup.Date_Pattern = date_pattern;
    setup.Texts = Report_Texts::Load(settings.Language_File_Path);
    setup.Scope_Texts = Report_Scope_Texts::Load(settings.Language_File_Path);
    // A skin that cannot be read leaves a plain band; the table's own check reports it.
    Load_Skin_Bitmap(Path_To_QString(paths.Skin("Header_Row.bmp")), setup.Look.Header_Skin);
    Load_Skin_Bitmap(Path_To_QString(paths.Skin("Default_Data_Row.bmp")), setup.Look.Row_Skin);
    setup.Look.Header_Text_Color = Color_From_Bgr(settings.Header_Row_Text_Color);
    setup.Look.Header_Text_Bold = settings.Header_Row_Text_Bold;
    setup.Look.Row_Text_Color = Color_From_Bgr(settings.Default_Data_Row_Text_Color);
    setup.Look.Font = Program_Font();
    setup.Button_Skin = button_skin;
    setup.Error_Icon_Path = Path_To_QString(paths.Skin("Error_Icon_Source.bmp"));
    setup.Background = Color_From_Bgr(settings.Main_Form_Color);
    setup.Title_Color = Color_From_Bgr(settings.Title_Color);
    for (std::size_t key = 1; key <= 7; ++key) setup.Day_Names[key] = From_Cp1250(texts.Day_Names[key]);
    return setup;
}

bool Report_Form_Opener::Display_Report_Form(const Settings& settings, const Language_Texts& texts,
                                             const Dialog_Resources& resources)
{
    if (!Form)
    {
        Form = new TReport_Form(Make_Report_Form_Setup(resources.Paths, settings, texts, resources.Button_Skin,
                                                       Make_Source(resources.Paths, settings), Date_Pattern),
                                resources.Parent);
        // First shown in the middle of the screen the main window is on.
        const QScreen* screen = resources.Parent ? resources.Parent->screen() : nullptr;
        if (screen == nullptr) screen = QGuiApplication::primaryScreen();
        if (screen != nullptr)
        {
            QRect frame = Form->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            Form->move(frame.topLeft());
        }
    }
    Form->Open();
    return true;
}
