// The record table as it is drawn: skinned rows, cut texts with "...", the header and the
// highlight that follows the pointer.
#include "ui/main/TData_Grid.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "Main_Form_Test_Support.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/Ui_Text.h"

namespace
{
const QColor Default_Row_Colour(255, 255, 255);
const QColor Focused_Row_Colour(255, 255, 0);
const QColor Header_Colour(0, 0, 160);

QPixmap Solid(int width, int height, const QColor& colour)
{
    QPixmap pixmap(width, height);
    pixmap.fill(colour);
    return pixmap;
}

struct Grid_Fixture : Data_Grid_Window
{
    Grid_Fixture()
    {
        Skins.Default_Data_Row_Bitmap = Solid(743, 17, Default_Row_Colour);
        Skins.Focused_Data_Row_Bitmap = Solid(743, 17, Focused_Row_Colour);
        Skins.Header_Row_Bitmap = Solid(743, 18, Header_Colour);
        Records = {Make_Record("Thu", "05.03.2026", "08:00 - 09:00", "TOTAL", "01:00", ""),
                   Make_Record("", "", "", "U", "00:10", ""), Make_Record("", "", "", "A", "00:50", "")};
        Log.Continue_Day(Records, 8 * 60);
        Parent.setFont(Program_Font());
        Grid = new TData_Grid(&Parent, Log, Setup, Skins, *this);
        Grid->setGeometry(6, 46, 743, 17 * int(Log.Size()));
    }

    bool Is_Fading() const override { return Fading; }
    bool Is_Dialog_Open() const override { return Dialog_Open; }
    void Open_Editor_For_Row(std::uint8_t row) override { Clicked_Rows.push_back(row); }
    void Delete_Highlighted_Record() override { ++Delete_Requests; }

    QImage Image() const { return Grid->grab().toImage(); }

    void Set_Field(std::size_t row, std::size_t field, const std::string& text)
    {
        Records[row][field] = text;
        Log.Continue_Day(Records, 8 * 60);
    }

    void Mouse(QEvent::Type type, int y, Qt::MouseButton button = Qt::NoButton)
    {
        const QPointF local(300, y);
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent event(type, local, Grid->mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(Grid, &event);
    }

    void Move_To(int y) { Mouse(QEvent::MouseMove, y); }

    void Click(Qt::MouseButton button, int y)
    {
        Mouse(QEvent::MouseButtonPress, y, button);
        Mouse(QEvent::MouseButtonRelease, y, button);
    }

    // The colour at the right edge of each given line of the grab.
    QList<QColor> Edge_Colours(std::initializer_list<int> lines) const
    {
        const QImage image = Image();
        QList<QColor> colours;
        for (int y : lines) colours << image.pixelColor(742, y);
        return colours;
    }

    std::vector<Work_Record> Records;
    Day_Log Log;
    Settings Setup;
    Data_Grid_Skins Skins;
    QWidget Parent;
    TData_Grid* Grid = nullptr;
    bool Fading = false;
    bool Dialog_Open = false;
    std::vector<std::uint8_t> Clicked_Rows;
    int Delete_Requests = 0;
};

// Pixels clearly darker than the row backgrounds are text.
bool Has_Text_Pixels(const QImage& image, int left, int right, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (qGray(image.pixel(x, y)) < 150) return true;
    return false;
}

// A text that the column's width holds exactly, ending in wide letters; empty if the font
// offers no such combination.
QString Text_Of_Width(const QFontMetrics& metrics, int width)
{
    for (const QString& filler : {QStringLiteral("i"), QStringLiteral("l"), QStringLiteral("."), QStringLiteral("j"),
                                  QStringLiteral("f"), QStringLiteral("r"), QStringLiteral("t")})
    {
        QString text = QStringLiteral("WW");
        while (metrics.horizontalAdvance(filler + text) <= width) text = filler + text;
        for (const QString& extra : {QString(), QStringLiteral("i"), QStringLiteral("l"), QStringLiteral("."),
                                     QStringLiteral("r"), QStringLiteral("t"), QStringLiteral("f")})
        {
            const QString candidate = extra + text;
            if (metrics.horizontalAdvance(candidate) == width) return candidate;
        }
    }
    return {};
}
}  // namespace

class Data_Grid_Test : public QObject
{
    Q_OBJECT

private slots:
    void A_Text_Too_Wide_Is_Cut_Eleven_Pixels_Early_And_Followed_By_Dots()
    {
        Grid_Fixture fixture;
        const QFontMetrics metrics(fixture.Grid->font());
        QString text = QStringLiteral("W");
        while (metrics.horizontalAdvance(text) <= Column_Width[5]) text += QStringLiteral("W");
        fixture.Set_Field(0, Remark_Field, To_Cp1250(text));
        const QImage image = fixture.Image();
        const int column_end = Column_Left[5] + Column_Width[5];
        QVERIFY(Has_Text_Pixels(image, Column_Left[5], column_end - 11, 2, 15));
        // The gap between the cut text and the dots, then the dots at the column's end less 8.
        QVERIFY(!Has_Text_Pixels(image, column_end - 11, column_end - 8, 0, 17));
        QVERIFY(Has_Text_Pixels(image, column_end - 8, column_end + 4, 2, 15));
        QVERIFY(!Has_Text_Pixels(image, column_end - 8, column_end + 4, 0, 10));  // dots sit low
    }

    void A_Text_As_Wide_As_Its_Column_Is_Drawn_Whole()
    {
        Grid_Fixture fixture;
        const QFontMetrics metrics(fixture.Grid->font());
        const QString text = Text_Of_Width(metrics, Column_Width[3]);
        if (text.isEmpty()) QSKIP("the font offers no text of exactly the column's width");
        fixture.Set_Field(2, Work_Type_Field, To_Cp1250(text));
        const QImage image = fixture.Image();
        const int column_end = Column_Left[3] + Column_Width[3];
        // The last letters reach into the band where a cut text would leave its gap.
        QVERIFY(Has_Text_Pixels(image, column_end - 11, column_end - 8, 34 + 2, 34 + 15));
        QVERIFY(!Has_Text_Pixels(image, column_end, Column_Left[4], 34, 51));
    }

    void Each_Cell_Is_Clipped_To_Its_Column_And_Empty_Fields_Show_The_Background()
    {
        Grid_Fixture fixture;
        const QImage image = fixture.Image();
        // Row 0's remark is empty, and so are rows 1 and 2 left of the work type.
        QVERIFY(!Has_Text_Pixels(image, Column_Left[5], 743, 0, 17));
        QVERIFY(!Has_Text_Pixels(image, 0, Column_Left[3], 17, 51));
        QVERIFY(Has_Text_Pixels(image, Column_Left[0], Column_Left[0] + Column_Width[0], 2, 15));
        QCOMPARE(fixture.Edge_Colours({16, 17 * 2 + 8}), (QList<QColor>{Default_Row_Colour, Default_Row_Colour}));
    }

    void The_Highlight_Follows_The_Pointer_And_Goes_When_It_Leaves()
    {
        Grid_Fixture fixture;
        QCOMPARE(int(fixture.Grid->Highlighted_Row()), 255);
        fixture.Move_To(17 + 3);
        QCOMPARE(int(fixture.Grid->Highlighted_Row()), 1);
        QCOMPARE(fixture.Edge_Colours({16, 17, 33, 34}),
                 (QList<QColor>{Default_Row_Colour, Focused_Row_Colour, Focused_Row_Colour, Default_Row_Colour}));

        // Past the last row the highlight stays where it was, while the pointer row moves on.
        fixture.Move_To(17 * 5);
        QVERIFY(fixture.Grid->Highlighted_Row() == 1 && fixture.Grid->Pointer_Row() == 5);

        // A dialog that speaks of the row keeps it marked; otherwise leaving clears it.
        fixture.Move_To(17 * 2 + 1);
        fixture.Dialog_Open = true;
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(fixture.Grid, &leave);
        QCOMPARE(int(fixture.Grid->Highlighted_Row()), 2);
        fixture.Dialog_Open = false;
        QApplication::sendEvent(fixture.Grid, &leave);
        QVERIFY(fixture.Grid->Highlighted_Row() == 255 && fixture.Grid->Pointer_Row() == 2);
        const QImage image = fixture.Image();
        QCOMPARE(image.pixelColor(742, 40), Default_Row_Colour);

        // Drawing a row that does not exist changes nothing.
        fixture.Grid->Draw_Row(255, true);
        fixture.Grid->Draw_Row(3, true);
        QCOMPARE(fixture.Image(), image);
    }

    void Clicks_Open_The_Editor_And_Right_Presses_Delete_Unless_A_Fade_Runs()
    {
        Grid_Fixture fixture;
        fixture.Fading = true;
        fixture.Click(Qt::LeftButton, 40);
        fixture.Click(Qt::RightButton, 40);
        QVERIFY(fixture.Clicked_Rows.empty() && fixture.Delete_Requests == 0);
        QCOMPARE(int(fixture.Grid->Highlighted_Row()), 2);  // the highlight follows during fades

        fixture.Fading = false;
        fixture.Click(Qt::LeftButton, 20);
        fixture.Click(Qt::RightButton, 40);
        fixture.Click(Qt::MiddleButton, 40);
        QCOMPARE(fixture.Clicked_Rows, std::vector<std::uint8_t>{1});
        QCOMPARE(fixture.Delete_Requests, 1);
    }

    void The_Header_Sits_Above_The_Table_And_Cuts_Without_Dots()
    {
        Grid_Fixture fixture;
        QImage image(755, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        std::array<std::string, 6> names = {"Day", "Date", "", "Type", "Time", ""};
        names[5] = std::string(80, 'W');
        fixture.Setup.Header_Row_Text_Color = 0x0000FFFF;  // yellow in 00BBGGRR
        QPainter painter(&image);
        painter.setFont(Program_Font());
        Draw_Header_Row(painter, 6, 46, fixture.Setup, fixture.Skins, names);
        painter.end();
        // The header's 18 lines end just above the table.
        QCOMPARE((QList<QColor>{image.pixelColor(6, 27), image.pixelColor(6, 28), image.pixelColor(748, 45),
                                image.pixelColor(6, 46)}),
                 (QList<QColor>{Qt::white, Header_Colour, Header_Colour, Qt::white}));
        const auto yellow_in = [&](int left, int right) {
            for (int y = 28; y < 46; ++y)
                for (int x = left; x < right; ++x)
                    if (image.pixelColor(x, y).red() > 150 && image.pixelColor(x, y).blue() < 120) return true;
            return false;
        };
        const int remark_end = 6 + Column_Left[5] + Column_Width[5];
        QVERIFY(yellow_in(6 + Column_Left[0], 6 + Column_Left[0] + Column_Width[0]));
        QVERIFY(!yellow_in(6 + Column_Left[2], 6 + Column_Left[2] + Column_Width[2]));
        // The long title is cut at its cell's edge: its last pixels are letters, no gap, no dots after.
        QVERIFY(yellow_in(remark_end - 11, remark_end - 8));
        QVERIFY(!yellow_in(remark_end, 755));
    }
};

QTEST_MAIN(Data_Grid_Test)
#include "TData_Grid_test.moc"
