#pragma once
// What the record editor and the settings dialog reach of the main window. The main
// window implements it; widget tests implement it with a recording fake.
#include <QRect>
#include <cstdint>

#include "config/Error_List.h"
#include "config/Language_Texts.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "worklog/Day_Log.h"

class QPixmap;
class QWidget;

class Main_Form_Access
{
public:
    virtual ~Main_Form_Access() = default;

    // The process-wide state the main window owns.
    virtual Day_Log& Day_Log_Of_Main_Form() = 0;
    virtual Settings& Settings_Of_Main_Form() = 0;
    virtual const Language_Texts& Texts_Of_Main_Form() = 0;
    virtual const Program_Paths& Paths_Of_Main_Form() = 0;
    virtual Error_List& Error_List_Of_Main_Form() = 0;
    virtual const QPixmap& Button_Skin_Of_Main_Form() = 0;
    virtual QWidget* Main_Form_Widget() = 0;  // parent for dialogs

    // The record table.
    virtual void Draw_Row(std::uint8_t row, bool highlighted) = 0;
    virtual std::uint8_t Highlighted_Row() const = 0;
    virtual void Set_Highlighted_Row(std::uint8_t row) = 0;
    virtual std::uint8_t Edited_Row() const = 0;

    // The main window's layout and summary.
    virtual void Refresh_Summary_Rows() = 0;
    virtual void Update_Layout() = 0;
    virtual void Apply_Anchor() = 0;
    virtual bool Add_Record_Button_Enabled() const = 0;
    virtual void Set_Add_Record_Button_Enabled(bool enabled) = 0;
    virtual void Set_Key_Armed(bool armed) = 0;
    virtual bool Moved_For_Bar() const = 0;
    virtual int Top_Before_Bar() const = 0;

    // Opacity as blend switch and value (0..255); switch off means opaque.
    virtual void Set_Alpha_Blend(bool enabled, std::uint8_t value) = 0;

    // Saves the day log silently after a change, so a crash loses nothing.
    virtual void Checkpoint_Day_Log() = 0;
};
