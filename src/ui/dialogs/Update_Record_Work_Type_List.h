#pragma once
// The work-type box of the record editor and the settings dialog, filled from Work_Type_List.
class Error_List;
struct Language_Texts;
struct Program_Paths;
class QComboBox;
class QRect;
class QWidget;

// An editable work-type box: what is typed stays within a short string and never joins the list.
QComboBox* New_Work_Type_Combo_Box(QWidget* parent, const char* object_name, const QRect& bounds);

// Offers the work types of the file (or of the language's own list) in the box in place of
// what it offered before.
void Fill_Work_Type_Combo_Box(QComboBox* box, const Program_Paths& paths, const Language_Texts& texts,
                              Error_List& error_list);
