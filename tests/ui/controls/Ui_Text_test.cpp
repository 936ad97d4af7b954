// The ui boundary: CP1250 texts, BGR colours and the work-area rule of dragged windows.
#include <QtTest>

#include "ui/controls/Ui_Text.h"
#include "ui/controls/Work_Area.h"

namespace
{
const bool Offscreen_By_Default = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();
}  // namespace

class Ui_Text_Test : public QObject
{
    Q_OBJECT

private slots:
    void Czech_Texts_Cross_The_Boundary_Both_Ways()
    {
        // "Přidat záznam" in CP1250: ř is 0xF8, á 0xE1.
        const std::string cp1250 = "P\xF8idat z\xE1znam";
        QCOMPARE(From_Cp1250(cp1250), QStringLiteral("Přidat záznam"));
        QCOMPARE(To_Cp1250(QStringLiteral("Přidat záznam")), cp1250);
        QCOMPARE(To_Cp1250(QStringLiteral("Žluťoučký kůň")), std::string("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2"));
        QCOMPARE(From_Cp1250(std::string()), QString());
    }

    void Colours_Are_Read_As_Blue_Green_Red()
    {
        QCOMPARE(Color_From_Bgr(0x0005C490), QColor(0x90, 0xC4, 0x05));
        QCOMPARE(Color_To_Bgr(QColor(0x90, 0xC4, 0x05)), 0x0005C490u);
        // The unused high byte does not leak into the colour.
        QCOMPARE(Color_From_Bgr(0x7F0000FF), QColor(Qt::red));
    }

    void A_Dragged_Window_Stops_At_Every_Edge_Of_The_Work_Area()
    {
        const QRect area(0, 0, 1280, 994);
        QCOMPARE(Keep_Inside_Work_Area(QRect(-40, 100, 355, 138), area), QRect(0, 100, 355, 138));
        QCOMPARE(Keep_Inside_Work_Area(QRect(100, -1, 355, 138), area), QRect(100, 0, 355, 138));
        QCOMPARE(Keep_Inside_Work_Area(QRect(1000, 100, 355, 138), area), QRect(925, 100, 355, 138));
        QCOMPARE(Keep_Inside_Work_Area(QRect(100, 900, 355, 138), area), QRect(100, 856, 355, 138));
        QCOMPARE(Keep_Inside_Work_Area(QRect(2000, 2000, 355, 138), area), QRect(925, 856, 355, 138));
        QCOMPARE(Keep_Inside_Work_Area(QRect(925, 856, 355, 138), area), QRect(925, 856, 355, 138));

        // A work area that does not start at the origin (a panel at the top or left).
        const QRect offset_area(50, 30, 800, 600);
        QCOMPARE(Keep_Inside_Work_Area(QRect(0, 0, 100, 100), offset_area), QRect(50, 30, 100, 100));
        QCOMPARE(Keep_Inside_Work_Area(QRect(800, 600, 100, 100), offset_area), QRect(750, 530, 100, 100));

        // Larger than the area: the right and bottom edges, checked last, win.
        QCOMPARE(Keep_Inside_Work_Area(QRect(10, 10, 900, 700), offset_area), QRect(-50, -70, 900, 700));
    }
};

QTEST_MAIN(Ui_Text_Test)
#include "Ui_Text_test.moc"
