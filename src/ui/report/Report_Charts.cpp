#include "ui/report/Report_Charts.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "history/Calendar.h"
#include "history/History_Csv.h"
#include "ui/controls/Ui_Text.h"

namespace
{

// Distinct, calm colours that sit well on the program's greens.
constexpr std::array<QRgb, 11> Palette = {0x3465a4, 0xf57900, 0x4e9a06, 0x75507b, 0xc4a000, 0x06989a,
                                          0xcc0000, 0x8f5902, 0x729fcf, 0xad7fa8, 0xe9b96e};
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
    if (order < Palette.size()) return QColor::fromRgb(Palette[order]);
    // Hues a golden angle apart never come back to one another; saturation and value
    // alternate as well, so neighbours in the list differ more than in hue alone.
    const std::size_t beyond = order - Palette.size();
    const int hue = int(std::fmod(double(beyond) * 137.50776 + 15.0, 360.0));
    return QColor::fromHsv(hue, 150 + int(beyond % 3) * 40, 215 - int(beyond % 2) * 55);
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

void TDay_Chart::Set_Report(const History_Report& report, Day_Chart_Bars bars)
{
    From = report.From;
    Bars = bars;
    Days = report.Days;
    Type_Order.clear();
    for (std::size_t order = 0; order < report.By_Work_Type.size(); ++order)
        Type_Order.emplace(report.By_Work_Type[order].Work_Type, order);
    First_Day_Number = Days_Since_Epoch(report.From);
    Last_Slot = std::max(0LL, Days_Since_Epoch(report.To) - First_Day_Number);
    Slot_Dates.clear();
    std::vector<long long> bar_slots;
    if (bars != Day_Chart_Bars::Days)
    {
        // The week's Monday or the month's first day, and its slot from the period's first.
        const auto start_of = [bars](const Calendar_Date& date) {
            return bars == Day_Chart_Bars::Weeks ? Add_Days(date, 1 - Iso_Day_Of_Week(date))
                                                 : Calendar_Date{date.Year, date.Month, 1};
        };
        const Calendar_Date first = start_of(report.From);
        const auto slot_of = [&](const Calendar_Date& date) {
            const Calendar_Date start = start_of(date);
            return bars == Day_Chart_Bars::Weeks ? (Days_Since_Epoch(start) - Days_Since_Epoch(first)) / 7
                                                 : (start.Year - first.Year) * 12LL + start.Month - first.Month;
        };
        Last_Slot = std::max(0LL, slot_of(report.To));
        for (long long slot = 0; slot <= Last_Slot; ++slot)
            Slot_Dates.push_back(bars == Day_Chart_Bars::Weeks
                                     ? Add_Days(first, 7 * slot)
                                     : Calendar_Date{first.Year + int((first.Month - 1 + slot) / 12),
                                                     int((first.Month - 1 + slot) % 12) + 1, 1});
        std::vector<History_Report_Day> sums;
        for (const History_Report_Day& day : report.Days)
        {
            const long long slot = std::clamp(slot_of(day.Date), 0LL, Last_Slot);
            if (bar_slots.empty() || bar_slots.back() != slot)
            {
                bar_slots.push_back(slot);
                sums.push_back({});
                sums.back().Date = Slot_Dates[std::size_t(slot)];
            }
            History_Report_Day& sum = sums.back();
            sum.Worked_Minutes += day.Worked_Minutes;
            sum.Full_Time_Minutes += day.Full_Time_Minutes;
            sum.Overtime_Minutes += day.Overtime_Minutes;
            sum.Balance_Minutes = day.Balance_Minutes;
            for (const Work_Type_Minutes& part : day.By_Work_Type)
            {
                auto same =
                    std::find_if(sum.By_Work_Type.begin(), sum.By_Work_Type.end(),
                                 [&](const Work_Type_Minutes& entry) { return entry.Work_Type == part.Work_Type; });
                if (same == sum.By_Work_Type.end()) sum.By_Work_Type.push_back(part);
                else same->Minutes += part.Minutes;
            }
        }
        Days = std::move(sums);
    }
    Day_Slots.clear();
    long long highest = 0;
    for (const History_Report_Day& day : Days)
    {
        Day_Slots.push_back(bars != Day_Chart_Bars::Days
                                ? bar_slots[Day_Slots.size()]
                                : std::clamp(Days_Since_Epoch(day.Date) - First_Day_Number, 0LL, Last_Slot));
        long long stacked = 0;
        for (const Work_Type_Minutes& part : day.By_Work_Type) stacked += std::max(0LL, part.Minutes);
        highest = std::max({highest, stacked, day.Worked_Minutes, day.Full_Time_Minutes});
    }
    // Whole two hours, at least an hour above the highest bar or target, so the scale reads
    // in round figures and the full-time line never lies on the frame.
    Scale_Top = std::max(120LL, (highest + 60 + 119) / 120 * 120);
    Plot_Left_Edge =
        std::max(Minimum_Plot_Left,
                 fontMetrics().horizontalAdvance(QString::fromStdString(Minutes_As_Hours_Text(Scale_Top))) + 10);
    update();
}

QRect TDay_Chart::Plot_Area() const
{
    return QRect(Plot_Left_Edge, Plot_Top, width() - Plot_Left_Edge - Plot_Right_Margin,
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
        painter.drawText(QRect(0, y - 8, Plot_Left_Edge - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
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
    if (Bars != Day_Chart_Bars::Days)
    {
        // The months under the weeks; under the months their numbers within a year, or
        // the years over a longer span.
        const bool by_year = Bars == Day_Chart_Bars::Months && slot_total > 12;
        const auto label_of = [&](long long slot) {
            // A week belongs to the month of its Thursday, as its number does to a year.
            const Calendar_Date start = Slot_Dates[std::size_t(slot)];
            const Calendar_Date date = Bars == Day_Chart_Bars::Weeks ? Add_Days(start, 3) : start;
            return by_year ? QString::number(date.Year) : QString::number(date.Month) + QStringLiteral(".");
        };
        for (long long slot = 0; slot < slot_total; ++slot)
        {
            const QString text = label_of(slot);
            // Weeks that begin in the same month, months of the same year, share a label.
            if (!labels.empty() && labels.back().Text == text && labels.back().Last_Slot == slot - 1)
                labels.back().Last_Slot = slot;
            else labels.push_back({slot, slot, text});
        }
        return labels;
    }
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
