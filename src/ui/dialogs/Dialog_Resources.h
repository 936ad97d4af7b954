#pragma once
// What every dialog of the main window is made with: where the program's files are, the
// protocol, the one button skin and the window the dialog belongs to.
class Error_List;
class QPixmap;
class QWidget;
struct Program_Paths;

struct Dialog_Resources
{
    const Program_Paths& Paths;
    Error_List& Errors;
    const QPixmap& Button_Skin;
    QWidget* Parent = nullptr;
};
