#include "ui/main/TData_Grid.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/controls/Ui_Text.h"

namespace
{
constexpr int Cell_Top_Offset = 2;      // text top within a row
constexpr int Cell_Bottom_Offset = 15;  // exclusive bottom of the text cell within a row
constexpr int Header_Height = 18;

void Set_Text_Look(QPainter& painter, std::uint32_t bgr_color, bool bold)
{
    QFont font = painter.font();
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(Color_From_Bgr(bgr_color));
}

// Text drawn with its top-left corner at the point, as the cell rectangles are given.
void Draw_Text_At(QPainter& painter, int left, int top, const QString& text)
{
    painter.drawText(QRect(left, top, 4096, 64), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}
}  // namespace

void Draw_Cell_Text(QPainter& painter, int left, int top, int width, const QString& text, bool shorten)
{
    const int height = Cell_Bottom_Offset - Cell_Top_Offset;
    const int text_width = painter.fontMetrics().horizontalAdvance(text);
    painter.save();
    if (shorten && text_width > width)
    {
        // Cut at a pixel boundary, then the ellipsis unclipped at the column's end less 8.
        const int right = left + width - 11;
        painter.setClipRect(QRect(left, top, right - left, height));
        Draw_Text_At(painter, left, top, text);
        painter.setClipping(false);
        Draw_Text_At(painter, right + 3, top, QStringLiteral("..."));
    }
    else
    {
        painter.setClipRect(QRect(left, top, width, height));
        Draw_Text_At(painter, left, top, text);
    }
    painter.restore();
}

void Draw_Header_Row(QPainter& painter, int table_left, int table_top, const Settings& settings,
                     const Data_Grid_Skins& skins, const std::array<std::string, 6>& column_names)
{
    painter.save();
    Set_Text_Look(painter, settings.Header_Row_Text_Color, settings.Header_Row_Text_Bold);
    painter.drawPixmap(table_left, table_top - Header_Height, skins.Header_Row_Bitmap);
    for (std::size_t column = 0; column < column_names.size(); ++column)
    {
        // The header cell runs from 15 to 2 pixels above the table; never shortened.
        const int left = table_left + Column_Left[column];
        const int top = table_top - 15;
        painter.save();
        painter.setClipRect(QRect(left, top, Column_Width[column], 13));
        Draw_Text_At(painter, left, top, From_Cp1250(column_names[column]));
        painter.restore();
    }
    painter.restore();
}

TData_Grid::TData_Grid(QWidget* parent, const Day_Log& day_log, const Settings& settings, const Data_Grid_Skins& skins,
                       Data_Grid_Window& owner)
    : QWidget(parent), Log(day_log), Look(settings), Skins(skins), Owner(owner)
{
    setObjectName(QStringLiteral("Data_Grid"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TData_Grid::Draw_Row(std::uint8_t row, bool highlighted)
{
    // A row past the last one has its background far below the table: nothing changes.
    if (row >= Log.Size() || row >= Drawn_Highlighted.size()) return;
    Drawn_Highlighted[row] = highlighted;
    update(QRect(0, Data_Row_Height * row, width(), Data_Row_Height));
}

void TData_Grid::Paint_All_Rows()
{
    for (std::size_t row = 0; row < Drawn_Highlighted.size(); ++row) Drawn_Highlighted[row] = (row == Highlighted);
    update();
}

void TData_Grid::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    const std::size_t rows = std::min(Log.Size(), Drawn_Highlighted.size());
    for (std::size_t row = 0; row < rows; ++row)
    {
        const int row_top = Data_Row_Height * int(row);
        if (!event->region().intersects(QRect(0, row_top, width(), Data_Row_Height))) continue;
        painter.save();
        if (Drawn_Highlighted[row])
        {
            Set_Text_Look(painter, Look.Focused_Data_Row_Text_Color, Look.Focused_Data_Row_Text_Bold);
            painter.drawPixmap(0, row_top, Skins.Focused_Data_Row_Bitmap);
        }
        else
        {
            Set_Text_Look(painter, Look.Default_Data_Row_Text_Color, Look.Default_Data_Row_Text_Bold);
            painter.drawPixmap(0, row_top, Skins.Default_Data_Row_Bitmap);
        }
        const Work_Record& record = Log[row];
        for (std::size_t column = 0; column < Work_Record_Field_Count; ++column)
        {
            if (record[column].empty()) continue;
            Draw_Cell_Text(painter, Column_Left[column], row_top + Cell_Top_Offset, Column_Width[column],
                           From_Cp1250(record[column]), true);
        }
        painter.restore();
    }
}

void TData_Grid::Hit_Test(int y)
{
    // A pointer above the table (possible while a button is held) names no row.
    if (y < 0) return;
    const int row = y / Data_Row_Height;
    Pointer = static_cast<std::uint8_t>(std::min(row, 255));
    if (Pointer == Highlighted) return;
    if (Pointer >= Log.Size()) return;
    Draw_Row(Highlighted, false);
    Draw_Row(Pointer, true);
    Highlighted = Pointer;
}

void TData_Grid::mouseMoveEvent(QMouseEvent* event)
{
    Hit_Test(int(event->position().y()));
    QWidget::mouseMoveEvent(event);
}

void TData_Grid::mousePressEvent(QMouseEvent* event)
{
    Hit_Test(int(event->position().y()));
    if (event->button() == Qt::LeftButton) Left_Pressed = true;
    if (event->button() == Qt::RightButton && !Owner.Is_Fading())
    {
        Owner.Delete_Highlighted_Record();
    }
    event->accept();
}

void TData_Grid::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a left press and release both on the table.
    const bool click =
        Left_Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) Left_Pressed = false;
    event->accept();
    if (!click) return;
    if (Owner.Is_Fading()) return;
    Owner.Open_Editor_For_Row(Pointer);
}

void TData_Grid::leaveEvent(QEvent* event)
{
    // While a dialog speaks of the highlighted row it stays marked.
    if (!Owner.Is_Dialog_Open())
    {
        Draw_Row(Highlighted, false);
        Highlighted = No_Row;
    }
    QWidget::leaveEvent(event);
}
