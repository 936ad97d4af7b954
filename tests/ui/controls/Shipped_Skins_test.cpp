// The skins that come with the program: 24-bit bitmaps of the sizes the windows draw them
// at, and a File_List that names exactly the files the start cannot do without.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtTest>

namespace
{
const bool Offscreen_By_Default = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

const QString Data_Directory = QStringLiteral(ZL_SOURCE_DATA_DIR);

int Bits_Per_Pixel(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray header = file.read(30);
    if (header.size() < 30 || !header.startsWith("BM")) return -1;
    return quint8(header[28]) | (quint8(header[29]) << 8);
}
}  // namespace

class Shipped_Skins_Test : public QObject
{
    Q_OBJECT

private slots:
    void Every_Skin_Is_A_24_Bit_Bitmap_Of_Its_Size_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("row") << "Default_Data_Row.bmp" << QSize(743, 17);
        QTest::newRow("focused row") << "Focused_Data_Row.bmp" << QSize(743, 17);
        QTest::newRow("header") << "Header_Row.bmp" << QSize(743, 18);
        QTest::newRow("button") << "Button_Skin.bmp" << QSize(4 * 105, 25);
        QTest::newRow("minimize") << "Minimize_Button_Skin.bmp" << QSize(4 * 17, 17);
        QTest::newRow("dialog") << "Message_Dialog_Form_Background.bmp" << QSize(355, 138);
        QTest::newRow("splash") << "Splash_Screen.bmp" << QSize(390, 243);
    }

    void Every_Skin_Is_A_24_Bit_Bitmap_Of_Its_Size()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QString path = Data_Directory + QStringLiteral("/Skin/") + name;
        QCOMPARE(Bits_Per_Pixel(path), 24);
        QCOMPARE(QImage(path).size(), size);
    }

    void Every_Icon_Is_A_Strip_Of_Distinct_Frames_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Error_Icon_Source.bmp", "Warning_Icon_Source.bmp", "Shutdown_Icon_Source.bmp",
                                 "Overtime_Icon_Source.bmp", "Summary_Icon_Source.bmp"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void Every_Icon_Is_A_Strip_Of_Distinct_Frames()
    {
        QFETCH(QString, name);
        const QString path = Data_Directory + QStringLiteral("/Skin/") + name;
        QCOMPARE(Bits_Per_Pixel(path), 24);
        const QImage strip(path);
        QCOMPARE(strip.height(), 64);
        QCOMPARE(strip.width() % 64, 0);
        const int frames = strip.width() / 64;
        QVERIFY(frames >= 2 && frames <= 255);
        // An animation: neighbouring frames differ, and the loop closes without a jump.
        for (int frame = 0; frame < frames; ++frame)
        {
            const QImage current = strip.copy(frame * 64, 0, 64, 64);
            const QImage next = strip.copy(((frame + 1) % frames) * 64, 0, 64, 64);
            QVERIFY2(current != next, qPrintable(QString::number(frame)));
        }
        // The icon stands on the dialog's white face.
        QCOMPARE(strip.pixelColor(0, 0), QColor(Qt::white));
    }

    void File_List_Names_The_Files_The_Start_Needs()
    {
        QFile file(Data_Directory + QStringLiteral("/File_List"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.endsWith("\r\n"));
        QList<QByteArray> names = content.split('\n');
        names.removeLast();
        QStringList listed;
        for (const QByteArray& line : names)
        {
            QVERIFY(line.endsWith('\r'));
            const QString name = QString::fromLatin1(line.chopped(1));
            QVERIFY2(QFileInfo(Data_Directory + QLatin1Char('/') + name).isFile(), qPrintable(name));
            listed << name;
        }
        for (const char* needed : {"Skin/Default_Data_Row.bmp", "Skin/Focused_Data_Row.bmp", "Skin/Header_Row.bmp",
                                   "Skin/Button_Skin.bmp", "Skin/Minimize_Button_Skin.bmp",
                                   "Skin/Message_Dialog_Form_Background.bmp", "Skin/Error_Icon_Source.bmp",
                                   "Skin/Warning_Icon_Source.bmp", "Skin/Shutdown_Icon_Source.bmp",
                                   "Skin/Overtime_Icon_Source.bmp", "Skin/Summary_Icon_Source.bmp"})
            QVERIFY2(listed.contains(QString::fromLatin1(needed)), needed);
        // Files whose absence the program handles must not stop its start.
        for (const QString& name : listed)
        {
            QVERIFY(!name.contains(QStringLiteral("Splash_Screen")));
            QVERIFY(!name.contains(QStringLiteral("Work_Type_List")));
            QVERIFY(!name.endsWith(QStringLiteral(".lng")));
        }
    }
};

QTEST_MAIN(Shipped_Skins_Test)
#include "Shipped_Skins_test.moc"
