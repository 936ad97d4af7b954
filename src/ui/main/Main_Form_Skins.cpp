#include "ui/main/Main_Form_Skins.h"

#include "config/Program_Paths.h"
#include "ui/controls/Skin_Bitmap.h"
#include "ui/controls/Ui_Text.h"

std::vector<std::string> Main_Form_Skins::Load(const Program_Paths& paths)
{
    const std::pair<const char*, QPixmap*> skins[] = {
        {"Default_Data_Row.bmp", &Grid.Default_Data_Row_Bitmap},
        {"Focused_Data_Row.bmp", &Grid.Focused_Data_Row_Bitmap},
        {"Header_Row.bmp", &Grid.Header_Row_Bitmap},
        {"Button_Skin.bmp", &Button_Skin_Bitmap},
        {"Minimize_Button_Skin.bmp", &Minimize_Button_Skin_Bitmap},
    };
    std::vector<std::string> unreadable;
    for (const auto& [file, pixmap] : skins)
    {
        const std::string name = std::string("Skin/") + file;
        if (!Load_Skin_Bitmap(Path_To_QString(paths.File(name)), *pixmap)) unreadable.push_back(name);
    }
    return unreadable;
}
