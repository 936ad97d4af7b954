// The ui boundary (CP1250 texts, BGR colours, the work-area rule) and the skinned button.
#include <QEnterEvent>
#include <QSignalSpy>
#include <QtTest>

#include "platform/Code_Page.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/controls/Work_Area.h"

namespace
{
const QColor Faces[4] = {QColor(200, 230, 160), QColor(220, 250, 180), QColor(180, 215, 130), QColor(190, 190, 190)};

// Four flat faces side by side, so a grabbed pixel tells the face shown.
QPixmap Flat_Skin()
{
    QImage skin(4 * 105, 25, QImage::Format_RGB32);
    for (int x = 0; x < skin.width(); ++x)
        for (int y = 0; y < 25; ++y) skin.setPixelColor(x, y, Faces[x / 105]);
    return QPixmap::fromImage(skin);
}

// The face shown, if both far corners show the same quarter of the skin, unscaled.
QColor Corner(TVela_Button& button)
{
    const QImage image = button.grab().toImage();
    const QColor far = image.pixelColor(image.width() - 1, image.height() - 1);
    return image.pixelColor(0, 0) == far ? far : QColor();
}

// The box of the dark (caption) pixels of the grabbed button.
QRect Caption_Box(TVela_Button& button)
{
    const QImage image = button.grab().toImage();
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 90) box |= QRect(x, y, 1, 1);
    return box;
}
}  // namespace

class Controls_Test : public QObject
{
    Q_OBJECT

private slots:
    void Texts_And_Colours_Cross_The_Boundary()
    {
        const std::string cp1250 = "P\xF8idat z\xE1znam";
        QCOMPARE(From_Cp1250(cp1250), QStringLiteral("Přidat záznam"));
        QCOMPARE(To_Cp1250(QStringLiteral("Žluťoučký kůň")), std::string("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2"));
        QCOMPARE(Color_From_Bgr(0x7F05C490), QColor(0x90, 0xC4, 0x05));  // the high byte is ignored
        QCOMPARE(Color_To_Bgr(QColor(0x90, 0xC4, 0x05)), 0x0005C490u);
    }

    void The_Cores_Letter_Case_Of_Cp1250_Agrees_With_Unicode()
    {
        for (int byte = 0; byte < 256; ++byte)
        {
            const std::string single(1, static_cast<char>(byte));
            const QString unicode = From_Cp1250(single);
            if (unicode == QChar(QChar::ReplacementCharacter)) continue;
            QCOMPARE(Cp1250_To_Lower(single[0]), To_Cp1250(unicode.toLower()).at(0));
        }
    }

    void A_Dragged_Window_Stops_At_Every_Edge_Of_The_Work_Area()
    {
        const QRect area(50, 30, 800, 600);
        const QList<QPair<QRect, QRect>> table = {
            {{0, 100, 300, 100}, {50, 100, 300, 100}},    {{100, 0, 300, 100}, {100, 30, 300, 100}},
            {{700, 100, 300, 100}, {550, 100, 300, 100}}, {{100, 600, 300, 100}, {100, 530, 300, 100}},
            {{550, 530, 300, 100}, {550, 530, 300, 100}},  // touching the corner stays
            {{10, 10, 900, 700}, {-50, -70, 900, 700}},    // larger: right and bottom win
        };
        for (const auto& [proposed, kept] : table) QCOMPARE(Keep_Inside_Work_Area(proposed, area), kept);
    }

    void Skin_Faces_Follow_Pointer_Press_And_Enabled_State()
    {
        QWidget window;
        TVela_Button button(&window);
        button.Set_Button_Skin(Flat_Skin());
        window.show();
        QCOMPARE(Corner(button), Faces[0]);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(&button, &enter);
        QCOMPARE(Corner(button), Faces[1]);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(50, 12));
        QCOMPARE(Corner(button), Faces[2]);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(50, 12));
        QCOMPARE(Corner(button), Faces[1]);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QCOMPARE(Corner(button), Faces[0]);
        button.setEnabled(false);
        QCOMPARE(Corner(button), Faces[3]);
        button.setEnabled(true);
        QCOMPARE(Corner(button), Faces[0]);
    }

    void Clicks_And_The_Held_State()
    {
        QWidget window;
        TVela_Button button(&window), held(&window);
        button.Set_Tag(2);
        button.Set_Button_Skin(Flat_Skin());
        held.Set_Hold_Status(true);
        window.show();
        QSignalSpy clicks(&button, &TVela_Button::Clicked);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).value<TVela_Button*>()->Tag(), 2);
        // Released beside it, the right button, a disabled button: no click.
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
        QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
        button.setEnabled(false);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);

        QTest::mouseClick(&held, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(held.Current_Face(), TVela_Button::Face::Down);
        held.Set_Button_Down(false);
        QCOMPARE(held.Current_Face(), TVela_Button::Face::Normal);
        button.setEnabled(true);
        button.Set_Button_Down(true);
        QVERIFY(!button.Button_Down());  // only a holding button stays down
    }

    void The_Caption_Is_Centred_Or_Offset_And_Shifts_When_Pressed()
    {
        QWidget window;
        TVela_Button button(&window);
        button.Set_Button_Skin(Flat_Skin());
        button.Set_Text(QStringLiteral("Nastavení"));
        window.show();
        const QRect box = Caption_Box(button);
        QVERIFY(qAbs(box.center().x() - 52) <= 2 && qAbs(box.center().y() - 12) <= 3);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(50, 12));
        QCOMPARE(Caption_Box(button).topLeft(), box.topLeft() + QPoint(1, 1));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(50, 12));

        button.Set_Center_Text_Horizontal(false);
        button.Set_Center_Text_Vertical(false);
        button.Set_Text_Left(27);
        button.Set_Text_Top(6);
        const QRect offset = Caption_Box(button);
        QVERIFY(offset.left() >= 27 && offset.left() <= 29 && offset.top() >= 6 && offset.top() <= 9);
        button.Set_Center_Text_Horizontal(true);  // centring one way keeps the other offset
        QCOMPARE(Caption_Box(button).top(), offset.top());
        QCOMPARE(Caption_Box(button).left(), box.left());
    }
};

QTEST_MAIN(Controls_Test)
#include "Controls_test.moc"
