#include "ui/report/Report_Form_Opener.h"

#include <QGuiApplication>
#include <QScreen>

#include "config/Language_Texts.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/Skin_Bitmap.h"
#include "ui/controls/Ui_Text.h"
#include "ui/dialogs/Main_Form_Access.h"

Report_Form_Setup Make_Report_Form_Setup(const Program_Paths& paths, const Settings& settings,
                                         const Language_Texts& texts, const QPixmap& button_skin,
                                         std::unique_ptr<Report_Source> source)
{
    Report_Form_Setup setup;
    setup.Source = std::move(source);
    setup.Texts = Report_Texts::Load(settings.Language_File_Path);
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

void Report_Form_Opener::Display_Report_Form(Main_Form_Access& main_form)
{
    if (!Form)
    {
        Form = new TReport_Form(Make_Report_Form_Setup(main_form.Paths_Of_Main_Form(), main_form.Settings_Of_Main_Form(),
                                                       main_form.Texts_Of_Main_Form(),
                                                       main_form.Button_Skin_Of_Main_Form(), Make_Source(main_form)),
                                main_form.Main_Form_Widget());
        // First shown in the middle of the screen the main window is on.
        const QScreen* screen = main_form.Main_Form_Widget()->screen();
        if (screen == nullptr) screen = QGuiApplication::primaryScreen();
        if (screen != nullptr)
        {
            QRect frame = Form->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            Form->move(frame.topLeft());
        }
    }
    Form->Open();
    // The key that opened the window is released over it, not over the main window.
    main_form.Set_Key_Armed(true);
}
