// The shipped skins: 24-bit bitmaps of the sizes the windows draw, and a File_List naming
// exactly the files the start cannot do without.
#include <QTemporaryDir>
#include <QtTest>

#include "ui/controls/Skin_Bitmap.h"

namespace
{
const QString Data = QStringLiteral(ZL_SOURCE_DATA_DIR) + QLatin1Char('/');

int Bits_Per_Pixel(const QString& path)
{
    QFile file(path);
    const QByteArray header = file.open(QIODevice::ReadOnly) ? file.read(30) : QByteArray();
    return header.size() == 30 && header.startsWith("BM") ? quint8(header[28]) | (quint8(header[29]) << 8) : -1;
}
}  // namespace

class Shipped_Skins_Test : public QObject
{
    Q_OBJECT

private slots:
    void Skins_Are_24_Bit_Bitmaps_Of_Their_Size_And_Icons_Animate()
    {
        const QList<QPair<const char*, QSize>> skins = {
            {"Default_Data_Row", {743, 17}},    {"Focused_Data_Row", {743, 17}},
            {"Header_Row", {743, 18}},          {"Button_Skin", {420, 25}},
            {"Minimize_Button_Skin", {68, 17}}, {"Message_Dialog_Form_Background", {355, 138}},
            {"Splash_Screen", {390, 243}},      {"Splash_Screen_English", {390, 243}}};
        for (const auto& [name, size] : skins)
        {
            const QString path = Data + "Skin/" + name + ".bmp";
            QVERIFY2(Bits_Per_Pixel(path) == 24 && QImage(path).size() == size, name);
        }
        for (const char* name : {"Error", "Warning", "Shutdown", "Overtime", "Summary"})
        {
            const QString path = Data + "Skin/" + name + "_Icon_Source.bmp";
            const QImage strip(path);
            QVERIFY2(Bits_Per_Pixel(path) == 24 && strip.height() == 64 && strip.width() % 64 == 0, name);
            const int frames = strip.width() / 64;
            QVERIFY(frames >= 2 && frames <= 255);
            // Neighbouring frames differ and the loop closes without a jump; the face is white.
            for (int frame = 0; frame < frames; ++frame)
                QVERIFY(strip.copy(frame * 64, 0, 64, 64) != strip.copy((frame + 1) % frames * 64, 0, 64, 64));
            QCOMPARE(strip.pixelColor(0, 0), QColor(Qt::white));
        }
    }

    void Skins_Load_As_Qt_Decodes_Them()
    {
        const auto same_as_qt = [](const QString& path) {
            QPixmap pixmap;
            return Load_Skin_Bitmap(path, pixmap) && pixmap.toImage().convertToFormat(QImage::Format_RGB32) ==
                                                         QImage(path).convertToFormat(QImage::Format_RGB32);
        };
        const QStringList skins = QDir(Data + "Skin").entryList({"*.bmp"});
        QCOMPARE(skins.size(), 13);
        for (const QString& name : skins) QVERIFY2(same_as_qt(Data + "Skin/" + name), qPrintable(name));

        // Bitmaps of other kinds, as a user's own skin may be, go through Qt's readers.
        QTemporaryDir directory;
        QImage palette_image(QImage(Data + "Skin/Minimize_Button_Skin.bmp").convertToFormat(QImage::Format_Indexed8));
        QVERIFY(palette_image.save(directory.filePath("indexed.bmp"), "BMP"));
        QVERIFY(same_as_qt(directory.filePath("indexed.bmp")));

        QFile garbage(directory.filePath("garbage.bmp"));
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("BM not a bitmap at all") > 0);
        garbage.close();
        for (const QString& unreadable : {directory.filePath("garbage.bmp"), directory.filePath("missing.bmp")})
        {
            QPixmap pixmap(4, 4);
            QVERIFY(!Load_Skin_Bitmap(unreadable, pixmap));
            QVERIFY(pixmap.isNull());
        }
    }

    void File_List_Names_The_Files_The_Start_Needs()
    {
        QFile file(Data + "File_List");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.endsWith("\r\n"));
        QStringList listed;
        for (const QByteArray& line : content.chopped(1).split('\n'))
        {
            QVERIFY(line.endsWith('\r'));
            listed << QString::fromLatin1(line.chopped(1));
            QVERIFY2(QFileInfo(Data + listed.last()).isFile(), qPrintable(listed.last()));
        }
        for (const char* needed :
             {"Default_Data_Row", "Focused_Data_Row", "Header_Row", "Button_Skin", "Minimize_Button_Skin",
              "Message_Dialog_Form_Background", "Error_Icon_Source", "Warning_Icon_Source", "Shutdown_Icon_Source",
              "Overtime_Icon_Source", "Summary_Icon_Source"})
            QVERIFY2(listed.contains(QStringLiteral("Skin/") + needed + ".bmp"), needed);
        // Files whose absence the program handles must not stop its start.
        for (const QString& name : listed)
            QVERIFY(!name.contains("Splash_Screen") && !name.contains("Work_Type_List") && !name.endsWith(".lng"));
    }
};

QTEST_MAIN(Shipped_Skins_Test)
#include "Shipped_Skins_test.moc"
