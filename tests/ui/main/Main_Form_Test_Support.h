#pragma once
// A temporary program directory filled from the shipped data, scripted answers to the
// message dialog, a recording shell and a main window wired to all of them.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/Message_Dialogs.h"
#include "platform/Clock.h"
#include "platform/Date_Time_Patterns.h"
#include "support/Fake_Clock.h"
#include "support/Fake_Tray_Shell.h"
#include "ui/controls/TVela_Button.h"
#include "ui/main/Command_Button_Bar.h"
#include "ui/main/Program_Shell.h"
#include "ui/main/TMain_Form.h"
#include "ui/main/TTesting_Panel.h"
#include "ui/main/Title_Strip.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Work_Log_File_System.h"

// The window's insides that only tests look at.
class TMain_Form_Test_Peer
{
public:
    explicit TMain_Form_Test_Peer(TMain_Form& form) : Form(form) {}

    const Day_Log& Day_Log_Of_Main_Form() const { return Form.Log; }
    const Language_Texts& Texts_Of_Main_Form() const { return Form.Texts; }
    std::uint8_t Edited_Row() const { return Form.Edited_Row_Index; }
    TData_Grid* Data_Grid() const { return Form.Grid; }
    TVela_Button* Add_Record_Button() const { return Form.Buttons->Add_Record_Button(); }
    QLabel* Title_Label() const { return Form.Title->Title_Label(); }
    int Button_Bar_Height() const { return Form.Bar.Height(); }
    bool Moved_For_Bar() const { return Form.Bar.Moved_For_Bar(); }
    bool Key_Armed_State() const { return Form.Input.Key_Armed(); }
    const QString& Tray_Hint_Text() const { return Form.Tray_Hint; }
    Main_Form_Fader& Fader() { return Form.Fading; }
    Testing_Mode& Testing() { return Form.Testing_Panel_Mode; }
    Window_Drag& Drag() { return Form.Dragger; }
    QTimer& Update_Timer_Of_Main_Form() { return Form.Update_Timer; }
    void Update_TimerTimer() { Form.Update_TimerTimer(); }
    void Fade_Out_To_Tray() { Form.Fade_Out_To_Tray(); }
    void Tray_IconDblClick() { Form.Tray_IconDblClick(); }
    QRect Form_Moving(QRect proposed) { return Form.Form_Moving(proposed); }

private:
    TMain_Form& Form;
};

inline TMain_Form_Test_Peer Peer(TMain_Form& form) { return TMain_Form_Test_Peer(form); }

struct Question
{
    std::string Icon;
    int Interval = 0;
    std::string Message;
    std::string First_Button;
    std::string Second_Button;

    // "icon|interval|message|first|second", to compare a question in one line.
    std::string Text() const
    {
        return Icon + "|" + std::to_string(Interval) + "|" + Message + "|" + First_Button + "|" + Second_Button;
    }
};

class Scripted_Message_Dialogs final : public Message_Dialogs
{
public:
    void Answer(int answer) { Answers.push_back(answer); }

    int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval, const std::string& message,
                               const std::string& first_button, const std::string& second_button,
                               const std::vector<std::string>&) override
    {
        Questions.push_back({icon_file_name, animation_interval, message, first_button, second_button});
        if (While_Open) While_Open();
        if (Answers.empty()) return 2;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void Show_Start_Splash_Screen() override {}

    std::function<void()> While_Open;  // runs while a question is on the screen
    std::vector<Question> Questions;
    std::deque<int> Answers;
};

class Recording_Program_Shell final : public Program_Shell
{
public:
    void Open_Document(const std::string& path) override { Opened.push_back(path); }
    void Request_Shutdown() override
    {
        if (Before_Shutdown) Before_Shutdown();
        ++Shutdown_Requests;
    }

    std::function<void()> Before_Shutdown;
    std::vector<std::string> Opened;
    int Shutdown_Requests = 0;
};

inline std::string Read_File(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

inline void Write_File(const QString& path, const std::string& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content.data(), qint64(content.size()));
}

inline Work_Record Make_Record(std::string day_name, std::string date, std::string span, std::string type,
                               std::string duration, std::string remark)
{
    Work_Record record;
    record.Fields = {std::move(day_name), std::move(date),     std::move(span),
                     std::move(type),     std::move(duration), std::move(remark)};
    return record;
}

// A program directory as the build leaves it, with a test language file and settings.
class Program_Directory_Fixture
{
public:
    Program_Directory_Fixture()
    {
        const QDir source(QStringLiteral(ZL_SOURCE_DATA_DIR));
        QDir target(Directory.path());
        target.mkpath(QStringLiteral("Skin"));
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), target.filePath(name));
        const QDir skins(source.filePath(QStringLiteral("Skin")));
        for (const QString& name : skins.entryList(QDir::Files))
            QFile::copy(skins.filePath(name), target.filePath(QStringLiteral("Skin/") + name));
        Write_File(Path("Test.lng"),
                   "[Main_Form]\r\n1=Add\r\n2=Setup\r\n3=Log\r\n4=Off\r\n"
                   "[Column_Names]\r\n0=Day\r\n1=Date\r\n2=Span\r\n3=Type\r\n4=Time\r\n5=Remark\r\n6=TOTAL\r\n"
                   "[Day_Names]\r\n1=Sun\r\n2=Mon\r\n3=Tue\r\n4=Wed\r\n5=Thu\r\n6=Fri\r\n7=Sat\r\n"
                   "[Tray_Icon]\r\n1=Elapsed#%s\r\n2=Full time\r\n3=Go#home\r\n");
        Setup_Lines = "[Main_Setup]\r\nLanguage_File_Name=Test.lng\r\n";
        Visual_Lines = "[Visual_Setup]\r\n";
    }

    QString Path(const QString& name) const { return QDir(Directory.path()).filePath(name); }
    QString Path(const char* name) const { return Path(QString::fromLatin1(name)); }
    std::string Directory_Path() const { return Directory.path().toStdString() + "/"; }

    void Add_Main_Setup(const std::string& line) { Setup_Lines += line + "\r\n"; }
    void Add_Visual_Setup(const std::string& line) { Visual_Lines += line + "\r\n"; }
    void Write_Setup() { Write_File(Path("Setup.ini"), Setup_Lines + Visual_Lines); }

    void Write_Day_Log(const std::vector<Work_Record>& records)
    {
        std::string bytes;
        for (const Work_Record& record : records) bytes += Encode_Work_Record(record);
        Write_File(Path("Actual_Work_Log.log"), bytes);
    }

    QTemporaryDir Directory;
    std::string Setup_Lines;
    std::string Visual_Lines;
};

// A main window with every seam a test can look at.
struct Main_Form_Harness
{
    explicit Main_Form_Harness(Program_Directory_Fixture& directory, Date_Time now = {2026, 3, 5, 9, 0, 0, 0})
        : Clock(now), Dialogs(std::make_shared<Scripted_Message_Dialogs>())
    {
        Main_Form_Seams seams;
        seams.Program_Directory = directory.Directory_Path();
        seams.Clock_Source = &Clock;
        seams.Patterns = Patterns;
        seams.Shell = &Shell;
        seams.Tray = &Tray;
        seams.Files = &Files;
        seams.Make_Message_Dialogs = [this](Settings&, const Dialog_Resources&) -> std::shared_ptr<Message_Dialogs> {
            return Dialogs;
        };
        seams.Show_Plain_Message = [this](const QString& text) {
            Plain_Messages.push_back(text);
        };
        seams.Quit_Application = [this] {
            ++Quit_Requests;
        };
        seams.Display_Update_Record_Form = [this](Day_Rules&, Settings&, const Language_Texts&, Record_Table_View&,
                                                  const Dialog_Resources&, Message_Dialogs&, std::uint8_t,
                                                  bool add_mode) {
            Editor_Openings.push_back(add_mode);
            if (While_Editor_Open) While_Editor_Open();
            return 0;
        };
        seams.Display_Setup_Form = [this](Settings&, const Language_Texts&, Main_Form_Preview&, const Dialog_Resources&,
                                          Message_Dialogs&) {
            ++Setup_Openings;
            if (While_Setup_Open) While_Setup_Open();
        };
        seams.Display_Report_Form = [this](const Settings&, const Language_Texts&, const Dialog_Resources&) {
            ++Report_Openings;
            return false;  // no window takes the key's release
        };
        Form = std::make_unique<TMain_Form>(std::move(seams));
    }

    std::string Today() const { return Format_Date(Clock.Now(), Patterns.Short_Date); }

    Fake_Clock Clock;
    Date_Time_Patterns Patterns;
    Recording_Program_Shell Shell;
    Fake_Tray_Shell Tray;
    Posix_Work_Log_File_System Files;
    std::shared_ptr<Scripted_Message_Dialogs> Dialogs;
    std::vector<QString> Plain_Messages;
    int Quit_Requests = 0;
    std::vector<bool> Editor_Openings;
    int Setup_Openings = 0;
    int Report_Openings = 0;
    std::function<void()> While_Editor_Open;
    std::function<void()> While_Setup_Open;
    std::unique_ptr<TMain_Form> Form;
};

// A main window created over a program directory with the given Setup.ini lines (those
// starting "Visual:" go to the visual section); prepare runs before the creation.
struct Started_Main_Form
{
    explicit Started_Main_Form(const std::vector<std::string>& lines,
                               std::function<void(Started_Main_Form&)> prepare = {},
                               Date_Time now = {2026, 3, 5, 9, 0, 0, 0})
    {
        for (const std::string& line : lines)
            if (line.rfind("Visual:", 0) == 0) Directory.Add_Visual_Setup(line.substr(7));
            else Directory.Add_Main_Setup(line);
        Directory.Write_Setup();
        Harness = std::make_unique<Main_Form_Harness>(Directory, now);
        if (prepare) prepare(*this);
        Harness->Form->Form_Create();
    }

    TMain_Form& Form() { return *Harness->Form; }

    // The protocol file's lines.
    std::vector<std::string> Protocol_Lines() const
    {
        const QStringList lines = QString::fromStdString(Read_File(Directory.Path("Error_Log.log"))).split("\r\n");
        std::vector<std::string> result;
        for (int index = 0; index + 1 < lines.size(); ++index) result.push_back(lines[index].toStdString());
        return result;
    }

    Program_Directory_Fixture Directory;
    std::unique_ptr<Main_Form_Harness> Harness;
};
