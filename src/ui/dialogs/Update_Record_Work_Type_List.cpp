#include "ui/dialogs/Update_Record_Work_Type_List.h"

#include <QComboBox>
#include <QLineEdit>

#include "config/Language_Texts.h"
#include "config/Work_Type_List.h"
#include "platform/Short_String.h"
#include "ui/controls/Ui_Text.h"

QComboBox* New_Work_Type_Combo_Box(QWidget* parent, const char* object_name, const QRect& bounds)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(object_name));
    box->setGeometry(bounds);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // What the user types is what is saved: no entry of the list completes it inline.
    box->setCompleter(nullptr);
    box->lineEdit()->setMaxLength(int(Short_String_Max_Length));
    return box;
}

void Fill_Work_Type_Combo_Box(QComboBox* box, const Program_Paths& paths, const Language_Texts& texts,
                              Error_List& error_list)
{
    box->clear();
    for (const std::string& work_type : Read_Work_Type_List(paths, error_list, texts.Work_Type_List_Counterpart))
        box->addItem(From_Cp1250(work_type));
}
