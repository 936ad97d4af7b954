#pragma once
// The skin bitmaps the main window loads at start: the record table's, the one skin of
// all command buttons and the minimize button's.
#include <QPixmap>
#include <string>
#include <vector>

#include "ui/main/TData_Grid.h"

struct Program_Paths;

struct Main_Form_Skins
{
    Data_Grid_Skins Grid;
    QPixmap Button_Skin_Bitmap;
    QPixmap Minimize_Button_Skin_Bitmap;

    // Loads every skin; gives the names ("Skin/" and the file) of those that cannot be read.
    std::vector<std::string> Load(const Program_Paths& paths);
};
