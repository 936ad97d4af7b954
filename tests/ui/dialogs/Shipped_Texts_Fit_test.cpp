// Every text of every shipped language fits the control that shows it: each dialog is laid
// out in each language file of the installation and each text measured against its control.
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QSet>
#include <QtTest>
#include <algorithm>

#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"
#include "ui/dialogs/Fake_Main_Form.h"
#include "ui/dialogs/TSetup_Form.h"
#include "ui/dialogs/TUpdate_Record_Form.h"

namespace
{
// A skinned button's caption keeps its face's 2-pixel edge free on each side.
constexpr int Button_Caption_Margin = 2;

// The texts of a language file, as the dialogs show them.
QSet<QString> Texts_Of(const QString& language_file)
{
    QFile file(language_file);
    QSet<QString> texts;
    if (!file.open(QIODevice::ReadOnly)) return texts;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (const qsizetype equals = line.indexOf('='); equals > 0 && !line.startsWith('['))
            texts << From_Cp1250(line.mid(equals + 1).trimmed().toStdString()).trimmed();
    return texts;
}

// The language file's texts in the open dialog that do not fit their controls, one a line.
QStringList Cut_Texts(QWidget* dialog, const QSet<QString>& language_texts)
{
    QStringList cut;
    const auto check = [&](const QWidget* control, const QString& text, int needed, int available) {
        if (language_texts.contains(text.trimmed()) && needed > available)
            cut << QStringLiteral("%1 \"%2\" needs %3 pixels, has %4")
                       .arg(control->objectName(), text.trimmed())
                       .arg(needed)
                       .arg(available);
    };
    for (QWidget* control : dialog->findChildren<QWidget*>())
    {
        if (!control->isVisibleTo(dialog)) continue;
        if (const auto* box = qobject_cast<QCheckBox*>(control))
            check(box, box->text(), box->sizeHint().width(), box->width());
        else if (const auto* group = qobject_cast<QGroupBox*>(control))
            check(group, group->title(), group->minimumSizeHint().width(), group->width());
        else if (const auto* label = qobject_cast<QLabel*>(control))
        {
            // A label grows with its text, but what passes the box it stands in is cut.
            const int room = std::min(label->width(), label->parentWidget()->width() - label->x());
            check(label, label->text(), label->sizeHint().width(), room);
        }
        else if (const auto* button = qobject_cast<TVela_Button*>(control))
            check(button, button->Text(),
                  QFontMetrics(button->font()).horizontalAdvance(button->Text()) + 2 * Button_Caption_Margin,
                  button->width());
    }
    return cut;
}

QStringList Shipped_Language_Files()
{
    const QDir data(QStringLiteral(ZL_SOURCE_DATA_DIR));
    QStringList files;
    for (const QString& name : data.entryList({QStringLiteral("*.lng")}, QDir::Files)) files << data.filePath(name);
    return files;
}
}  // namespace

class Shipped_Texts_Fit_Test : public QObject
{
    Q_OBJECT

private slots:
    void Every_Text_Of_Every_Language_Fits_Its_Control()
    {
        const QStringList languages = Shipped_Language_Files();
        QVERIFY(languages.size() >= 2);
        QStringList cut;
        for (const QString& language : languages)
        {
            const QSet<QString> texts = Texts_Of(language);
            QVERIFY(texts.size() > 50);
            const auto note = [&](const char* dialog, QWidget* form) {
                for (const QString& line : Cut_Texts(form, texts))
                    cut << QFileInfo(language).fileName() + " " + dialog + ": " + line;
            };
            Dialog_Fixture fixture;
            Use_Installed_Data(fixture.Main);
            fixture.Main.Texts.Language_File_Path = language.toStdString();
            fixture.Main.Texts.Is_Czech_Language = QFileInfo(language).baseName() == QLatin1String("Czech");
            fixture.Main.Start_Day(8 * 60, 12 * 60);
            bool shown = false;

            fixture.Arm<TSetup_Form>([&](TSetup_Form* form) {
                shown = true;
                note("settings", form);
                form->reject();
            });
            Display_Setup_Form(fixture.Main.Setup, fixture.Main.Texts, fixture.Main, fixture.Main.Resources,
                               fixture.Dialogs);
            QVERIFY(shown);

            for (const bool add_mode : {true, false})
            {
                shown = false;
                fixture.Main.Edited = add_mode ? std::uint8_t(fixture.Main.Log.Size()) : std::uint8_t(0);
                fixture.Arm<TUpdate_Record_Form>([&](TUpdate_Record_Form* form) {
                    shown = true;
                    note("record editor", form);
                    form->reject();
                });
                Display_Update_Record_Form(fixture.Main.Rules, fixture.Main.Setup, fixture.Main.Texts, fixture.Main,
                                           fixture.Main.Resources, fixture.Dialogs, fixture.Main.Edited, add_mode);
                QVERIFY(shown);
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(Shipped_Texts_Fit_Test)
#include "Shipped_Texts_Fit_test.moc"
