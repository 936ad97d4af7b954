#include "ui/report/Report_Charts.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "history/Calendar.h"
#include "history/History_Csv.h"
#include "ui/controls/Ui_Text.h"

namespace
{

// Distinct, calm colours that sit well on the program's greens.
constexpr std::array<QRgb, 11> Palette = {0x3465a4, 0xf57900, 0x4e9a06, 0x75507b, 0xc4a000, 0x06989a,
                                          0xcc0000, 0x8f5902, 0x729fcf, 0xad7fa8, 0xe9b96e};
constexpr QRgb Other_Color = 0x888a85;
const QColor Plot_Background(0xff, 0xff, 0xff);
const QColor Grid_Line_Color(0xdd, 0xe8, 0xcc);
const QColor Axis_Text_Color(0x44, 0x55, 0x33);
const QColor Full_Time_Color(0xa4, 0x00, 0x00);

}  // namespace

std::string Report_Share_Text(long long part, long long whole)
{
    if (whole <= 0) return "0.0 %";
    // In tenths of a per cent, rounded half away from zero.
    const long double tenths = static_cast<long double>(part) * 1000.0L / static_cast<long double>(whole);
    const long long rounded = static_cast<long long>(tenths + (tenths < 0 ? -0.5L : 0.5L));
    const long long magnitude = rounded < 0 ? -rounded : rounded;
    return (rounded < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10) + " %";
}

QColor Work_Type_Color(std::size_t order)
{
    return QColor::fromRgb(order < Palette.size() ? Palette[order] : Other_Color);
}

void Draw_Skin_Band(QPainter& painter, const QRect& rectangle, const QPixmap& skin, const QColor& fallback)
{
    if (skin.isNull())
    {
        painter.fillRect(rectangle, fallback);
        return;
    }
    // The right part of the skins is free of column lines; one column of it is the band.
    const int clean_column = skin.width() * 4 / 5;
    painter.drawPixmap(rectangle, skin, QRect(clean_column, 0, 1, skin.height()));
}

TWork_Type_Chart::TWork_Type_Chart(Report_Chart_Look look, QWidget* parent) : QWidget(parent), Look(std::move(look))
{
    setObjectName(QStringLiteral("Work_Type_Chart"));
    setFont(Look.Font);
}

void TWork_Type_Chart::Set_Work_Types(std::vector<Work_Type_Minutes> work_types)
{
    Rows = std::move(work_types);
    Total_Minutes = 0;
    Largest_Minutes = 0;
    for (const Work_Type_Minutes& row : Rows)
    {
        Total_Minutes += std::max(0LL, row.Minutes);
        Largest_Minutes = std::max(Largest_Minutes, row.Minutes);
    }
    setFixedHeight(int(Rows.size()) * Row_Height);
    update();
}

QString TWork_Type_Chart::Row_Name(std::size_t row) const { return From_Cp1250(Rows.at(row).Work_Type); }

QString TWork_Type_Chart::Row_Time(std::size_t row) const
{
    return QString::fromStdString(Minutes_As_Hours_Text(Rows.at(row).Minutes));
}

QString TWork_Type_Chart::Row_Share(std::size_t row) const
{
    return QString::fromStdString(Report_Share_Text(Rows.at(row).Minutes, Total_Minutes));
}

QRect TWork_Type_Chart::Row_Bar(std::size_t row) const
{
    const long long minutes = Rows.at(row).Minutes;
    if (minutes <= 0 || Largest_Minutes <= 0) return {};
    // The largest type fills the bar's room; the others in proportion, at least a pixel.
    const int length = std::max(1, int(static_cast<long double>(Bar_Width_Available()) * minutes / Largest_Minutes));
    return QRect(Bar_Left, int(row) * Row_Height + 4, length, Row_Height - 8);
}

void TWork_Type_Chart::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    const QFontMetrics metrics(font());
    painter.setPen(Look.Row_Text_Color);
    for (std::size_t row = 0; row < Rows.size(); ++row)
    {
        const QRect band(0, int(row) * Row_Height, width(), Row_Height);
        if (!band.intersects(dirty)) continue;
        Draw_Skin_Band(painter, band, Look.Row_Skin, QColor(0xf4, 0xf9, 0xec));
        const QColor color = Row_Color(row);
        painter.fillRect(QRect(8, band.top() + 4, 10, 9), color);
        painter.setPen(Look.Row_Text_Color);
        const QRect name(Name_Left, band.top(), Time_Right - 70 - Name_Left, Row_Height);
        painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(Row_Name(row), Qt::ElideRight, name.width()));
        painter.drawText(QRect(Time_Right - 66, band.top(), 66, Row_Height), Qt::AlignRight | Qt::AlignVCenter,
                         Row_Time(row));
        painter.drawText(QRect(Share_Right - 66, band.top(), 66, Row_Height), Qt::AlignRight | Qt::AlignVCenter,
                         Row_Share(row));
        const QRect bar = Row_Bar(row);
        if (!bar.isEmpty())
        {
            painter.fillRect(bar, color);
            painter.fillRect(QRect(bar.left(), bar.top(), bar.width(), 1), color.lighter(130));
        }
    }
}

TDay_Chart::TDay_Chart(Report_Chart_Look look, QWidget* parent) : QWidget(parent), Look(std::move(look))
{
    setObjectName(QStringLiteral("Day_Chart"));
    setFont(Look.Font);
}

void TDay_Chart::Set_Report(const History_Report& report)
{
    From = report.From;
    Days = report.Days;
    Type_Order.clear();
    for (std::size_t order = 0; order < report.By_Work_Type.size(); ++order)
        Type_Order.emplace(report.By_Work_Type[order].Work_Type, order);
    First_Day_Number = Days_Since_Epoch(report.From);
    Last_Slot = std::max(0LL, Days_Since_Epoch(report.To) - First_Day_Number);
    Day_Slots.clear();
    long long highest = 0;
    for (const History_Report_Day& day : Days)
    {
        Day_Slots.push_back(std::clamp(Days_Since_Epoch(day.Date) - First_Day_Number, 0LL, Last_Slot));
        long long stacked = 0;
        for (const Work_Type_Minutes& part : day.By_Work_Type) stacked += std::max(0LL, part.Minutes);
        highest = std::max({highest, stacked, day.Worked_Minutes, day.Full_Time_Minutes});
    }
    // Whole two hours, at least an hour above the highest bar or target, so the scale reads
    // in round figures and the full-time line never lies on the frame.
    Scale_Top = std::max(120LL, (highest + 60 + 119) / 120 * 120);
    update();
}

QRect TDay_Chart::Plot_Area() const
{
    return QRect(Plot_Left, Plot_Top, width() - Plot_Left - Plot_Right_Margin,
                 height() - Plot_Top - Plot_Bottom_Margin);
}

QRect TDay_Chart::Slot_Rectangle(long long slot) const
{
    const QRect plot = Plot_Area();
    const long double slot_width = static_cast<long double>(plot.width()) / Slot_Count();
    const int left = plot.left() + int(slot * slot_width);
    const int right = plot.left() + int((slot + 1) * slot_width);
    return QRect(left, plot.top(), std::max(1, right - left), plot.height());
}

int TDay_Chart::Minutes_To_Y(long long minutes) const
{
    const QRect plot = Plot_Area();
    const long long clamped = std::clamp(minutes, 0LL, Scale_Top);
    return plot.bottom() + 1 - int(static_cast<long double>(plot.height()) * clamped / Scale_Top);
}

QRect TDay_Chart::Day_Bar(std::size_t day) const
{
    const std::vector<Segment> segments = Day_Segments(day);
    QRect bar;
    for (const Segment& segment : segments) bar = bar.united(segment.Rectangle);
    return bar;
}

std::vector<TDay_Chart::Segment> TDay_Chart::Day_Segments(std::size_t day) const
{
    const QRect slot = Slot_Rectangle(Day_Slots.at(day));
    // A gap between bars while there is room for one.
    const int gap = slot.width() >= 4 ? std::max(1, slot.width() / 4) : 0;
    const int left = slot.left() + gap / 2;
    const int width = std::max(1, slot.width() - gap);
    std::vector<const Work_Type_Minutes*> parts;
    for (const Work_Type_Minutes& part : Days.at(day).By_Work_Type)
        if (part.Minutes > 0) parts.push_back(&part);
    // Stacked in the period's order, so each type lies at the same place of every bar.
    const auto order_of = [this](const std::string& type) {
        const auto found = Type_Order.find(type);
        return found == Type_Order.end() ? Type_Order.size() : found->second;
    };
    std::stable_sort(parts.begin(), parts.end(), [&](const Work_Type_Minutes* a, const Work_Type_Minutes* b) {
        return order_of(a->Work_Type) < order_of(b->Work_Type);
    });
    std::vector<Segment> segments;
    long long below = 0;
    for (const Work_Type_Minutes* part : parts)
    {
        const int bottom = Minutes_To_Y(below);
        below += part->Minutes;
        const int top = Minutes_To_Y(below);
        if (bottom <= top) continue;  // thinner than a pixel
        segments.push_back(
            {part->Work_Type, Work_Type_Color(order_of(part->Work_Type)), QRect(left, top, width, bottom - top)});
    }
    return segments;
}

std::vector<QLine> TDay_Chart::Full_Time_Lines() const
{
    std::vector<QLine> lines;
    if (Days.empty()) return lines;
    const bool same_everywhere = std::all_of(Days.begin(), Days.end(), [&](const History_Report_Day& day) {
        return day.Full_Time_Minutes == Days.front().Full_Time_Minutes;
    });
    const QRect plot = Plot_Area();
    if (same_everywhere)
    {
        const int y = Minutes_To_Y(Days.front().Full_Time_Minutes);
        lines.emplace_back(plot.left(), y, plot.right(), y);
        return lines;
    }
    for (std::size_t day = 0; day < Days.size(); ++day)
    {
        const QRect slot = Slot_Rectangle(Day_Slots[day]);
        const int y = Minutes_To_Y(Days[day].Full_Time_Minutes);
        lines.emplace_back(slot.left(), y, slot.right(), y);
    }
    return lines;
}

void TDay_Chart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw_Skin_Band(painter, rect(), Look.Row_Skin, QColor(0xf4, 0xf9, 0xec));
    const QRect plot = Plot_Area();
    painter.fillRect(plot, Plot_Background);

    // The scale: a line and a figure every two hours, or every four, eight... when tall.
    long long step = 120;
    while (Scale_Top / step > 6) step *= 2;
    painter.setPen(Axis_Text_Color);
    for (long long minutes = 0; minutes <= Scale_Top; minutes += step)
    {
        const int y = Minutes_To_Y(minutes);
        painter.setPen(Grid_Line_Color);
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(Axis_Text_Color);
        painter.drawText(QRect(0, y - 8, Plot_Left - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(Minutes_As_Hours_Text(minutes)));
    }
    Paint_Axis_Labels(painter);

    if (Days.empty())
    {
        painter.setPen(Axis_Text_Color);
        painter.drawText(plot, Qt::AlignCenter, Empty_Text);
        return;
    }
    for (std::size_t day = 0; day < Days.size(); ++day)
        for (const Segment& segment : Day_Segments(day)) painter.fillRect(segment.Rectangle, segment.Color);

    QPen dashed(Full_Time_Color, 1, Qt::DashLine);
    painter.setPen(dashed);
    const std::vector<QLine> lines = Full_Time_Lines();
    for (const QLine& line : lines) painter.drawLine(line);
    // The line's key in the margin above the plot, where no bar reaches: a piece of the
    // dashed line and the target (when every day has the same one).
    QString caption = Full_Time_Caption;
    if (lines.size() == 1)
        caption += QStringLiteral(" ") + QString::fromStdString(Minutes_As_Hours_Text(Days.front().Full_Time_Minutes));
    const QFontMetrics metrics(font());
    const int caption_width = metrics.horizontalAdvance(caption);
    const int key_y = plot.top() / 2 + 1;
    painter.drawLine(plot.right() - caption_width - 30, key_y, plot.right() - caption_width - 8, key_y);
    painter.setPen(Full_Time_Color);
    painter.drawText(QRect(plot.right() - caption_width - 2, 0, caption_width + 2, plot.top() + 1),
                     Qt::AlignRight | Qt::AlignVCenter, caption);
}

std::vector<TDay_Chart::Axis_Label> TDay_Chart::Axis_Labels() const
{
    std::vector<Axis_Label> labels;
    const long long slot_total = Slot_Count();
    const auto date_of = [this](long long slot) {
        return Date_From_Days_Since_Epoch(First_Day_Number + slot);
    };
    if (slot_total <= 7)
    {
        // Day_Names run from Sunday (1) to Saturday (7).
        for (long long slot = 0; slot < slot_total; ++slot)
            labels.push_back({slot, slot,
                              Day_Names[std::size_t(Iso_Day_Of_Week(date_of(slot)) % 7 + 1)] + QStringLiteral(" ") +
                                  QString::number(date_of(slot).Day) + QStringLiteral(".")});
        return labels;
    }
    if (slot_total <= 31)
    {
        for (long long slot = 0; slot < slot_total; ++slot)
            labels.push_back({slot, slot, QString::number(date_of(slot).Day)});
        return labels;
    }
    // Longer periods: each month (up to a year) or each year, the label over its span.
    const bool by_month = slot_total <= 366;
    long long span_start = 0;
    for (long long slot = 1; slot <= slot_total; ++slot)
    {
        const Calendar_Date date = date_of(slot);
        if (slot < slot_total && !(date.Day == 1 && (by_month || date.Month == 1))) continue;
        const Calendar_Date span_date = date_of(span_start);
        labels.push_back(
            {span_start, slot - 1,
             by_month ? QString::number(span_date.Month) + QStringLiteral(".") : QString::number(span_date.Year)});
        span_start = slot;
    }
    return labels;
}

void TDay_Chart::Paint_Axis_Labels(QPainter& painter) const
{
    const QRect plot = Plot_Area();
    const QFontMetrics metrics(font());
    const std::vector<Axis_Label> labels = Axis_Labels();
    const bool spans = !labels.empty() && labels.front().Last_Slot > labels.front().First_Slot;
    for (const Axis_Label& label : labels)
    {
        const QRect first = Slot_Rectangle(label.First_Slot);
        const QRect last = Slot_Rectangle(label.Last_Slot);
        // A line before each month or year, the first excepted.
        if (spans && label.First_Slot > 0)
        {
            painter.setPen(Grid_Line_Color);
            painter.drawLine(first.left(), plot.top(), first.left(), plot.bottom() + 3);
        }
        const QRect box(first.left(), plot.bottom() + 3, last.right() - first.left() + 1, 15);
        // A label wider than its room is left out rather than run into its neighbours.
        if (metrics.horizontalAdvance(label.Text) > box.width() + 4) continue;
        painter.setPen(Axis_Text_Color);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, label.Text);
    }
}
