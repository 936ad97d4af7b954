#pragma once
// The two charts of the report window: the minutes per work type, one row each with its
// time, share and a bar, and a bar per day stacked by work type under the full-time line.
// A work type has the same colour in both.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "history/History_Report.h"

// The share of part in whole as "37.5 %"; "0.0 %" when the whole is not positive.
std::string Report_Share_Text(long long part, long long whole);

// Colours of the work types in the period's order (most minutes first): the palette's,
// then hues a golden angle apart, so no two types share one.
QColor Work_Type_Color(std::size_t order);

// What one bar of the time chart stands for: a day (a week or a month shown), a week (a
// year) or a month (the whole history); more bars than pixels could not be read.
enum class Day_Chart_Bars
{
    Days,
    Weeks,
    Months,
};

// Draws a skin band (the record table's header or row picture) over the rectangle. The
// pictures carry the table's column lines; a clean column of them is stretched instead.
void Draw_Skin_Band(class QPainter& painter, const QRect& rectangle, const QPixmap& skin, const QColor& fallback);

struct Report_Chart_Look
{
    QPixmap Header_Skin;
    QPixmap Row_Skin;
    QColor Header_Text_Color = Qt::white;
    bool Header_Text_Bold = false;
    QColor Row_Text_Color = Qt::black;
    QFont Font;
};

class TWork_Type_Chart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Row_Height = 17;
    static constexpr int Name_Left = 24;
    static constexpr int Time_Right = 370;
    static constexpr int Share_Right = 440;
    static constexpr int Bar_Left = 456;
    static constexpr int Bar_Right_Margin = 12;

    explicit TWork_Type_Chart(Report_Chart_Look look, QWidget* parent = nullptr);

    void Set_Work_Types(std::vector<Work_Type_Minutes> work_types);

    std::size_t Row_Count() const { return Rows.size(); }
    QString Row_Name(std::size_t row) const;
    QString Row_Time(std::size_t row) const;
    QString Row_Share(std::size_t row) const;
    QColor Row_Color(std::size_t row) const { return Work_Type_Color(row); }
    // The bar of the row in widget coordinates; empty for a row without time.
    QRect Row_Bar(std::size_t row) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int Bar_Width_Available() const { return width() - Bar_Left - Bar_Right_Margin; }

    Report_Chart_Look Look;
    std::vector<Work_Type_Minutes> Rows;
    long long Total_Minutes = 0;
    long long Largest_Minutes = 0;
};

class TDay_Chart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Minimum_Plot_Left = 40;
    static constexpr int Plot_Right_Margin = 10;
    static constexpr int Plot_Top = 18;
    static constexpr int Plot_Bottom_Margin = 20;

    explicit TDay_Chart(Report_Chart_Look look, QWidget* parent = nullptr);

    // Where the plot begins: room for the scale's widest figure (100 hours and more are wider).
    int Plot_Left() const { return Plot_Left_Edge; }

    // Day_Names 1 (Sunday) to 7 (Saturday) of the language file, for the week's axis.
    void Set_Day_Names(const std::array<QString, 8>& day_names) { Day_Names = day_names; }
    void Set_Full_Time_Caption(const QString& caption) { Full_Time_Caption = caption; }
    void Set_Empty_Text(const QString& text) { Empty_Text = text; }
    void Set_Report(const History_Report& report, Day_Chart_Bars bars = Day_Chart_Bars::Days);

    // Bars with time: stored days, or weeks or months that hold stored days.
    std::size_t Day_Count() const { return Days.size(); }
    // What a bar sums up: its first day (the Monday, the first of the month) and its times.
    const History_Report_Day& Bar_Day(std::size_t day) const { return Days.at(day); }
    // The whole stacked bar of a stored day, and its parts from the bottom up.
    QRect Day_Bar(std::size_t day) const;
    struct Segment
    {
        std::string Work_Type;
        QColor Color;
        QRect Rectangle;
    };
    std::vector<Segment> Day_Segments(std::size_t day) const;
    // The height in pixels of the scale's top, in minutes.
    long long Scale_Minutes() const { return Scale_Top; }
    int Minutes_To_Y(long long minutes) const;
    // Full-time lines: one across the chart when every day has the same target, else one
    // piece over each day.
    std::vector<QLine> Full_Time_Lines() const;
    // The texts under the axis: each day of a week or a month, each month of a year, each
    // year of a longer span, with the slots (days from From) each one stands under.
    struct Axis_Label
    {
        long long First_Slot;
        long long Last_Slot;
        QString Text;
    };
    std::vector<Axis_Label> Axis_Labels() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect Plot_Area() const;
    long long Slot_Count() const { return Last_Slot + 1; }
    QRect Slot_Rectangle(long long slot) const;
    void Paint_Axis_Labels(QPainter& painter) const;

    Report_Chart_Look Look;
    std::array<QString, 8> Day_Names;
    QString Full_Time_Caption;
    QString Empty_Text;
    Calendar_Date From;
    Day_Chart_Bars Bars = Day_Chart_Bars::Days;
    std::vector<Calendar_Date> Slot_Dates;  // the first day of each slot of weeks or months
    long long First_Day_Number = 0;
    long long Last_Slot = 0;
    std::vector<History_Report_Day> Days;
    std::vector<long long> Day_Slots;
    std::map<std::string, std::size_t> Type_Order;
    int Plot_Left_Edge = Minimum_Plot_Left;
    long long Scale_Top = 0;
};
