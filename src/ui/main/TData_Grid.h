#pragma once
// The record table: one 17-pixel row per entry of the Day_Log, six fixed columns, skinned
// row backgrounds and a highlight that follows the pointer.
#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>

#include "config/Settings.h"
#include "ui/dialogs/Record_Table_View.h"
#include "worklog/Day_Log.h"

inline constexpr int Data_Row_Height = 17;
inline constexpr std::uint8_t No_Row = 255;
inline constexpr std::array<std::uint16_t, 6> Column_Left = {7, 79, 163, 255, 402, 502};
inline constexpr std::array<std::uint8_t, 6> Column_Width = {59, 71, 79, 134, 87, 234};

// The three skins of the table, owned by the main window.
struct Data_Grid_Skins
{
    QPixmap Default_Data_Row_Bitmap;
    QPixmap Focused_Data_Row_Bitmap;
    QPixmap Header_Row_Bitmap;
};

// What the table asks of the window it sits on.
class Data_Grid_Window
{
public:
    virtual ~Data_Grid_Window() = default;
    // The window's fade runs: clicks do nothing.
    virtual bool Is_Fading() const = 0;
    // The editor or a message is open: the highlight stays.
    virtual bool Is_Dialog_Open() const = 0;
    // A left click.
    virtual void Open_Editor_For_Row(std::uint8_t row) = 0;
    // The right button.
    virtual void Delete_Highlighted_Record() = 0;
};

class TData_Grid : public QWidget, public Record_Table_View
{
    Q_OBJECT

public:
    TData_Grid(QWidget* parent, const Day_Log& day_log, const Settings& settings, const Data_Grid_Skins& skins,
               Data_Grid_Window& owner);

    // Draws one row in the given look; a row past the last one changes nothing visible.
    void Draw_Row(std::uint8_t row, bool highlighted) override;
    // Draws every row again, the highlighted one in its look (the control's paint).
    void Paint_All_Rows();

    std::uint8_t Highlighted_Row() const override { return Highlighted; }
    void Set_Highlighted_Row(std::uint8_t row) override { Highlighted = row; }
    // Draws the highlighted row plain and leaves no row highlighted.
    void Clear_Highlight()
    {
        Draw_Row(Highlighted, false);
        Highlighted = No_Row;
    }
    std::uint8_t Pointer_Row() const { return Pointer; }

    // The look each row was last drawn in; what the next paint shows.
    bool Row_Drawn_Highlighted(std::uint8_t row) const
    {
        return row < Drawn_Highlighted.size() && Drawn_Highlighted[row];
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Hit_Test(int y);

    const Day_Log& Log;
    const Settings& Look;
    const Data_Grid_Skins& Skins;
    Data_Grid_Window& Owner;
    std::uint8_t Highlighted = No_Row;
    std::uint8_t Pointer = 0;
    bool Left_Pressed = false;
    std::array<bool, Max_Day_Log_Records> Drawn_Highlighted{};
};

// Draws the text of one cell as the table does: whole when it fits the column, otherwise
// cut 11 pixels before the column's end and followed by "..." at the column's end less 8.
// Also used for the header, which is cut without "...".
class QPainter;
void Draw_Cell_Text(QPainter& painter, int left, int top, int width, const QString& text, bool shorten);

// The header strip above the table, drawn on the main window at (table_left, table_top - 18).
void Draw_Header_Row(QPainter& painter, int table_left, int table_top, const Settings& settings,
                     const Data_Grid_Skins& skins, const std::array<std::string, 6>& column_names);
