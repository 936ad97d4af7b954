// The skinned button: faces cut from the skin, caption placement, clicks and held state.
#include <QEnterEvent>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include "ui/controls/Vela_Button.h"

namespace
{
const bool Offscreen_By_Default = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

const QColor Face_Colors[4] = {QColor(200, 230, 160), QColor(220, 250, 180), QColor(180, 215, 130),
                               QColor(190, 190, 190)};

// Four flat faces side by side, so a grabbed pixel tells the face shown.
QPixmap Flat_Skin(int width, int height)
{
    QImage skin(width * 4, height, QImage::Format_RGB32);
    for (int face = 0; face < 4; ++face)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) skin.setPixelColor(face * width + x, y, Face_Colors[face]);
    return QPixmap::fromImage(skin);
}

QColor Corner_Color(TVela_Button_& button)
{
    return button.grab().toImage().pixelColor(2, 2);
}

// The box of the dark (caption) pixels of the grabbed button.
QRect Dark_Pixel_Box(TVela_Button_& button)
{
    const QImage image = button.grab().toImage();
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 90) box |= QRect(x, y, 1, 1);
    return box;
}

void Send_Enter(TVela_Button_& button)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&button, &enter);
}

void Send_Leave(TVela_Button_& button)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
}
}  // namespace

class Vela_Button_Test : public QObject
{
    Q_OBJECT

private slots:
    void Skin_Faces_Follow_Pointer_Press_And_Enabled_State()
    {
        QWidget window;
        TVela_Button_ button(&window);
        button.Set_Button_Skin(Flat_Skin(105, 25));
        window.show();

        QCOMPARE(button.Current_Face(), TVela_Button_::Face::Normal);
        QCOMPARE(Corner_Color(button), Face_Colors[0]);

        Send_Enter(button);
        QCOMPARE(Corner_Color(button), Face_Colors[1]);

        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(50, 12));
        QCOMPARE(Corner_Color(button), Face_Colors[2]);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(50, 12));
        QCOMPARE(Corner_Color(button), Face_Colors[1]);

        Send_Leave(button);
        QCOMPARE(Corner_Color(button), Face_Colors[0]);

        button.setEnabled(false);
        QCOMPARE(Corner_Color(button), Face_Colors[3]);
        button.setEnabled(true);
        QCOMPARE(Corner_Color(button), Face_Colors[0]);
    }

    void The_Face_Is_Drawn_At_Its_Own_Size_From_Its_Quarter_Of_The_Skin()
    {
        QWidget window;
        TVela_Button_ button(&window);
        button.resize(17, 17);
        QImage skin(68, 17, QImage::Format_RGB32);
        skin.fill(Qt::red);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) skin.setPixelColor(x, y, (x + y) % 2 ? Qt::blue : Qt::green);
        button.Set_Button_Skin(QPixmap::fromImage(skin));
        window.show();
        const QImage shown = button.grab().toImage();
        QCOMPARE(shown.size(), QSize(17, 17));
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) QCOMPARE(shown.pixelColor(x, y), skin.pixelColor(x, y));
    }

    void A_Click_Reports_The_Button_And_Its_Tag_Only_When_Released_On_It()
    {
        QWidget window;
        TVela_Button_ button(&window);
        button.Set_Tag(2);
        window.show();
        QSignalSpy clicks(&button, &TVela_Button_::Clicked);

        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);
        auto* sender = clicks.at(0).at(0).value<TVela_Button_*>();
        QCOMPARE(sender, &button);
        QCOMPARE(sender->Tag(), 2);

        // Pressed on the button, released beside it: no click.
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
        QCOMPARE(clicks.count(), 1);

        QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);

        button.setEnabled(false);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);
    }

    void A_Holding_Button_Stays_Down_And_A_Plain_One_Never_Does()
    {
        QWidget window;
        TVela_Button_ held(&window);
        held.resize(22, 22);
        held.Set_Draw_Default(true);
        held.Set_Hold_Status(true);
        TVela_Button_ plain(&window);
        plain.Set_Button_Skin(Flat_Skin(105, 25));
        window.show();

        QTest::mouseClick(&held, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(held.Button_Down());
        QCOMPARE(held.Current_Face(), TVela_Button_::Face::Down);
        held.Set_Button_Down(false);
        QCOMPARE(held.Current_Face(), TVela_Button_::Face::Normal);
        held.Set_Button_Down(true);
        QVERIFY(held.Button_Down());

        plain.Set_Button_Down(true);
        QVERIFY(!plain.Button_Down());
        QTest::mouseClick(&plain, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(Corner_Color(plain), Face_Colors[0]);
    }

    void A_Centred_Caption_Sits_In_The_Middle_And_Moves_When_Pressed()
    {
        QWidget window;
        TVela_Button_ button(&window);
        button.Set_Button_Skin(Flat_Skin(105, 25));
        button.Set_Text(QStringLiteral("Nastavení"));
        window.show();

        const QRect box = Dark_Pixel_Box(button);
        QVERIFY(!box.isEmpty());
        const double centre_x = box.x() + box.width() / 2.0;
        const double centre_y = box.y() + box.height() / 2.0;
        QVERIFY2(qAbs(centre_x - 52.5) <= 2.0, qPrintable(QString::number(centre_x)));
        QVERIFY2(qAbs(centre_y - 12.5) <= 3.0, qPrintable(QString::number(centre_y)));

        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(50, 12));
        const QRect pressed = Dark_Pixel_Box(button);
        QCOMPARE(pressed.topLeft(), box.topLeft() + QPoint(1, 1));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(50, 12));
    }

    void An_Offset_Caption_Starts_At_Its_Offset()
    {
        QWidget window;
        TVela_Button_ button(&window);
        button.Set_Button_Skin(Flat_Skin(105, 25));
        button.Set_Text(QStringLiteral("Otevřít log"));
        button.Set_Center_Text_Horizontal(false);
        button.Set_Center_Text_Vertical(false);
        button.Set_Text_Left(27);
        button.Set_Text_Top(6);
        window.show();

        const QRect box = Dark_Pixel_Box(button);
        QVERIFY2(box.left() >= 27 && box.left() <= 29, qPrintable(QString::number(box.left())));
        QVERIFY2(box.top() >= 6 && box.top() <= 9, qPrintable(QString::number(box.top())));

        button.Set_Text_Left(40);
        QCOMPARE(Dark_Pixel_Box(button).left(), box.left() + 13);
        // Centring one way keeps the offset of the other.
        button.Set_Center_Text_Horizontal(true);
        const QRect centred = Dark_Pixel_Box(button);
        QCOMPARE(centred.top(), box.top());
        QVERIFY(qAbs(centred.x() + centred.width() / 2.0 - 52.5) <= 2.0);
    }

};

QTEST_MAIN(Vela_Button_Test)
#include "Vela_Button_test.moc"
