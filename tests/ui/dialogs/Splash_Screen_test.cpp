// The splash screen: the picture's size, centred and on top, ended by its timer alone;
// a missing picture is protocolled and skipped.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <memory>

#include "Message_Dialog_Test_Support.h"
#include "app/Error_List.h"
#include "app/Program_Paths.h"
#include "app/Settings.h"
#include "platform/Clock.h"
#include "ui/dialogs/Qt_Message_Dialogs.h"

using Dialog_Test::When_Modal_Opens;

class Splash_Screen_Test : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> Directory;
    std::unique_ptr<Program_Paths> Paths;
    Fake_Clock Clock{Date_Time{2026, 3, 5, 8, 0, 1, 0}};
    std::unique_ptr<Error_List> Errors;
    Settings Setup;
    std::unique_ptr<Qt_Message_Dialogs> Dialogs;

    QString Splash_Path() const { return Directory->filePath(QStringLiteral("Skin/Splash_Screen.bmp")); }

private slots:
    void init()
    {
        Directory = std::make_unique<QTemporaryDir>();
        QVERIFY(Directory->isValid());
        QVERIFY(Dialog_Test::Copy_Shipped_Skins(*Directory));
        Paths = std::make_unique<Program_Paths>(Directory->path().toStdString());
        Errors = std::make_unique<Error_List>(Clock, "HH:mm:ss");
        Dialogs = std::make_unique<Qt_Message_Dialogs>(Setup, *Errors, *Paths, QPixmap(), nullptr);
    }

    void cleanup()
    {
        Dialogs.reset();
        for (QTimer* poll : findChildren<QTimer*>()) delete poll;
    }

    void The_Window_Has_The_Pictures_Size_Centred_On_Top_And_Waits_For_Its_Timer()
    {
        QImage picture(200, 120, QImage::Format_RGB32);
        picture.fill(QColor(0x90, 0xC4, 0x05));
        picture.setPixelColor(199, 119, Qt::black);
        QVERIFY(QFile::remove(Splash_Path()));
        QVERIFY(picture.save(Splash_Path(), "BMP"));

        QSize size;
        QPoint centre;
        Qt::WindowFlags flags;
        QColor corner;
        bool open_after_keys_and_clicks = false;
        qint64 shown_at = -1;
        QElapsedTimer clock;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            shown_at = clock.elapsed();
            size = dialog->size();
            centre = dialog->geometry().center();
            flags = dialog->windowFlags();
            corner = dialog->grab().toImage().pixelColor(199, 119);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QTest::keyClick(dialog, Qt::Key_Return);
            QTest::mouseClick(dialog, Qt::LeftButton, {}, QPoint(10, 10));
            QTest::qWait(300);
            open_after_keys_and_clicks = dialog->isVisible();
        });
        clock.start();
        Dialogs->Show_Start_Splash_Screen();
        const qint64 closed_at = clock.elapsed();

        QVERIFY(shown_at >= 0);
        QCOMPARE(size, QSize(200, 120));
        QCOMPARE(corner, QColor(Qt::black));
        const QRect desktop = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(qAbs(centre.x() - desktop.center().x()) <= 1);
        QVERIFY(qAbs(centre.y() - desktop.center().y()) <= 1);
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(open_after_keys_and_clicks);
        QVERIFY2(closed_at >= 1700 && closed_at < 2500, qPrintable(QString::number(closed_at)));
        QVERIFY(Errors->Lines().empty());
    }

    void A_Missing_Picture_Is_Protocolled_And_The_Start_Goes_On()
    {
        QVERIFY(QFile::remove(Splash_Path()));
        bool opened = false;
        When_Modal_Opens(this, [&](QDialog*) { opened = true; });
        QElapsedTimer clock;
        clock.start();
        Dialogs->Show_Start_Splash_Screen();
        QVERIFY(clock.elapsed() < 500);
        QTest::qWait(50);
        QVERIFY(!opened);
        QCOMPARE(Errors->Lines().size(), std::size_t(1));
        QCOMPARE(Errors->Lines()[0],
                 "08:00:01 - SHOW_SPLASH_SCREEN - source file " + Paths->Skin_Directory + "Splash_Screen.bmp not found");
    }

};

QTEST_MAIN(Splash_Screen_Test)
#include "Splash_Screen_test.moc"
