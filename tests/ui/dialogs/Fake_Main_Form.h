#pragma once
// A recording stand-in for the main window and scripted answers for the message dialog,
// shared by the record editor's and the settings dialog's widget tests.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config/Error_List.h"
#include "config/Language_Texts.h"
#include "config/Message_Dialogs.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "platform/Clock.h"
#include "support/Fake_Clock.h"
#include "ui/dialogs/Dialog_Resources.h"
#include "ui/dialogs/Main_Form_Preview.h"
#include "ui/dialogs/Record_Table_View.h"
#include "worklog/Day_Rules.h"

// What the dialogs reach of the main window: the day and its rules, the settings, the
// texts, a recording record table and a recording live preview.
class Fake_Main_Form final : public Record_Table_View, public Main_Form_Preview
{
public:
    explicit Fake_Main_Form(const std::string& program_directory) : Paths(program_directory), Errors(Clock, "HH:mm:ss")
    {
        Skin = QPixmap(420, 25);
        Skin.fill(Qt::gray);
        Texts.Language_File_Path = Paths.File("Test.lng");
        for (int key = 1; key <= 19; ++key) Texts.Message_Strings[key] = "M" + std::to_string(key);
        for (int key = 1; key <= 6; ++key) Texts.Message_Buttons[key] = "B" + std::to_string(key);
        for (int key = 0; key <= 5; ++key) Texts.Column_Names[key] = "C" + std::to_string(key);
        Texts.Day_Row_Label = "Day total";
        Window.setGeometry(100, 100, 755, 100);
    }

    // Record_Table_View
    void Draw_Row(std::uint8_t row, bool highlighted) override { Drawn_Rows.emplace_back(row, highlighted); }
    std::uint8_t Highlighted_Row() const override { return Highlighted; }
    void Set_Highlighted_Row(std::uint8_t row) override { Highlighted = row; }

    // Main_Form_Preview
    void Set_Alpha_Blend(bool enabled, std::uint8_t value) override { Alpha_Calls.emplace_back(enabled, value); }
    void Apply_Anchor() override { Anchors_Applied.push_back(Setup.Main_Form_Anchor); }
    QPoint Position_To_Save() const override { return {Window.x(), Moved ? Top_Before : Window.y()}; }

    // A day that began at start and has reached now, with the Day_Row alone.
    void Start_Day(Minute_Of_Day start, Minute_Of_Day now, const std::string& work_type = "DEFAULT",
                   const std::string& remark = "default remark")
    {
        Work_Record day_row;
        day_row[Day_Name_Field] = "Monday";
        day_row[Date_Field] = "07.12.2026";
        day_row[Work_Type_Field] = work_type;
        day_row[Remark_Field] = remark;
        Log.Start_Day(day_row, start);
        Rules.Refresh_Summary_Rows(now);
    }

    // Adds a user record the way a saved day holds it (the Unassigned_Row first).
    void Add_User_Row(const std::string& work_type, Minute_Of_Day duration, const std::string& remark = "")
    {
        Work_Record record;
        record[Work_Type_Field] = work_type;
        record[Duration_Field] = Minute_Of_Day_To_Text(duration);
        record[Remark_Field] = remark;
        Log.Add_User_Record(record, Texts.Day_Row_Label);
    }

    // The work type, duration and remark of a record, joined by "|".
    std::string Row(std::size_t index) const
    {
        const Work_Record& record = Log[index];
        return record[Work_Type_Field] + "|" + record[Duration_Field] + "|" + record[Remark_Field];
    }

    Fake_Clock Clock;
    Program_Paths Paths;
    Error_List Errors;
    Day_Log Log;
    Settings Setup;
    Language_Texts Texts;
    Day_Rules Rules{Log, Setup, Texts};
    QPixmap Skin;
    QWidget Window;
    Dialog_Resources Resources{Paths, Errors, Skin, &Window};

    std::vector<std::pair<std::uint8_t, bool>> Drawn_Rows;
    std::uint8_t Highlighted = 255;
    std::uint8_t Edited = 0;
    std::vector<int> Anchors_Applied;  // the anchor in memory at each Apply_Anchor
    bool Moved = false;
    int Top_Before = 0;
    std::vector<std::pair<bool, std::uint8_t>> Alpha_Calls;
};

class Scripted_Message_Dialogs final : public Message_Dialogs
{
public:
    struct Call
    {
        std::string Icon;
        int Interval = 0;
        std::string Message;
        std::string First_Button;
        std::string Second_Button;
        std::vector<std::string> Arguments;
    };

    int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval, const std::string& message,
                               const std::string& first_button, const std::string& second_button,
                               const std::vector<std::string>& arguments) override
    {
        Calls.push_back({icon_file_name, animation_interval, message, first_button, second_button, arguments});
        if (While_Open) While_Open();
        if (Answers.empty()) return 1;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void Show_Start_Splash_Screen() override {}

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> messages;
        for (const Call& call : Calls) messages.push_back(call.Message);
        return messages;
    }

    std::vector<Call> Calls;
    std::deque<int> Answers;           // 1 when empty
    std::function<void()> While_Open;  // runs while the message is "shown"
};

// Runs the action on the modal dialog of the given type once it is open; the dialog is
// then driven by the action, as a user would.
template <typename Dialog_Type>
void When_Open(std::function<void(Dialog_Type*)> action)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto* dialog = qobject_cast<Dialog_Type*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog, 1000)) qWarning("dialog not active");
        action(dialog);
    });
    poll->start();
}

// Gives the program's real data (Czech texts, work types, button skin) to the fake, as
// the installed program has it.
inline void Use_Installed_Data(Fake_Main_Form& main)
{
    const std::string data = ZL_SOURCE_DATA_DIR;
    main.Texts.Language_File_Path = data + "/Czech.lng";
    main.Texts.Is_Czech_Language = true;
    QFile::remove(QString::fromStdString(main.Paths.File("Work_Type_List")));
    QFile::copy(QString::fromStdString(data + "/Work_Type_List"),
                QString::fromStdString(main.Paths.File("Work_Type_List")));
    const QPixmap skin(QString::fromStdString(data + "/Skin/Button_Skin.bmp"));
    if (!skin.isNull()) main.Skin = skin;
}

// Grabs the dialog into a PNG in the temporary directory and, when ZL_SCREENSHOT_DIR names
// a directory, there too (that is how the pictures of the documentation are made).
inline QImage Grab_Screenshot(QWidget* dialog, const QString& temporary_directory, const QString& file_name)
{
    const QImage image = dialog->grab().toImage();
    image.save(temporary_directory + "/" + file_name);
    const QString screenshot_directory = qEnvironmentVariable("ZL_SCREENSHOT_DIR");
    if (!screenshot_directory.isEmpty()) image.save(screenshot_directory + "/" + file_name);
    return image;
}

inline void Write_File(const std::string& path, const std::string& bytes)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", path.c_str());
    file.write(bytes.data(), qint64(bytes.size()));
}

inline std::string Read_File(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

template <typename Widget_Type>
Widget_Type* Part(QWidget* form, const char* name)
{
    auto* widget = form->findChild<Widget_Type*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no %s", name);
    return widget;
}

// A program directory, the fake main window and scripted answers; Arm makes the action
// drive the next dialog of the type, and hides one left open by a failing step.
struct Dialog_Fixture
{
    QTemporaryDir Directory;
    Fake_Main_Form Main{Directory.path().toStdString()};
    Scripted_Message_Dialogs Dialogs;

    template <typename Form>
    void Arm(std::function<void(Form*)> action)
    {
        When_Open<Form>(std::move(action));
        QTimer::singleShot(15000, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) dialog->hide();
        });
    }
};
