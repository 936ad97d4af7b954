#pragma once
// The report window: where the time of a week, a month, a year or the whole history went,
// by work type and by day, against the full-time target. Non-modal; the key R of the main
// window opens it, Escape closes it. It asks its source for every figure and only draws.
#include <QPixmap>
#include <QWidget>
#include <array>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/Date_Time_Patterns.h"
#include "ui/report/Report_Charts.h"
#include "ui/report/Report_Scope_Texts.h"
#include "ui/report/Report_Source.h"
#include "ui/report/Report_Texts.h"

class QLabel;
class QProgressBar;
class QScrollArea;
class TVela_Button;

struct Report_Form_Setup
{
    std::unique_ptr<Report_Source> Source;
    Report_Texts Texts;
    Report_Scope_Texts Scope_Texts;
    Report_Chart_Look Look;
    QPixmap Button_Skin;
    QString Error_Icon_Path;  // read only when the window has a problem to show
    QColor Background = QColor(0x90, 0xc4, 0x05);
    QColor Title_Color = Qt::black;
    std::array<QString, 8> Day_Names;  // 1 Sunday .. 7 Saturday
    // The period's dates are written as the program writes dates everywhere else.
    std::string Date_Pattern = Date_Time_Patterns{}.Short_Date;
    QString Csv_Folder;  // where the save dialog starts
    // Asks where to save the CSV file; an empty answer cancels.
    std::function<QString(QWidget* parent, const QString& suggested_path)> Ask_Csv_Path;
};

class TReport_Form : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Client_Width = 755;
    static constexpr int Client_Height = 544;
    // How long opening waits for the history before it shows the window with a progress
    // bar instead of the figures.
    static constexpr int Quick_Load_Milliseconds = 100;

    explicit TReport_Form(Report_Form_Setup setup, QWidget* parent = nullptr);
    ~TReport_Form() override;

    // Shows the window (or brings it forward) and loads the history afresh.
    void Open();
    void Show_Period(Report_Period_Kind kind, int offset);

    void Previous_ButtonClick();
    void Next_ButtonClick();
    void Save_Csv_ButtonClick();
    void Rebuild_ButtonClick();
    // The switch: whose days the report counts (loads them afresh).
    void Choose_Scope(Report_Scope scope);

    // State the tests look at.
    Report_Period_Kind Period_Kind() const { return Kind; }
    int Period_Offset() const { return Offset; }
    Report_Scope Shown_Scope() const { return Scope; }
    const History_Report& Shown_Report() const { return Report; }
    bool Problem_Shown() const;
    bool Notice_Shown() const;
    bool Busy() const { return Work_Running; }
    TWork_Type_Chart* Work_Type_Chart() const { return Type_Chart; }
    TDay_Chart* Day_Chart() const { return Days_Chart; }

signals:
    // A load or a rebuild has ended and the window shows its outcome.
    void Work_Ended();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A closed window keeps only itself: a long history's days go until the next opening.
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Work
    {
        Load,
        Rebuild
    };

    void Create_Components();
    void Create_Problem_Panel();
    TVela_Button* New_Button(QWidget* parent, const char* name, Report_Text caption, int left, int top);
    QString Text(Report_Text key) const;
    QString Store_State_Text(Report_Store_State state) const;
    void Start_Work(Work work);
    void Collect_Work();
    void Finish_Work(const Report_Load_Outcome& outcome, Work work);
    void Show_Report();
    void Show_Problem(const QString& headline, const QString& problem, bool offer_rebuild);
    void Show_Notice(const QString& text, const QString& detail, bool offer_rebuild, bool failure);
    void Update_Buttons();
    void Update_Scope_Switch();
    QString Replace_Question_Text(const QString& path) const;
    QString Ask_Csv_Path_In_Own_Language(QWidget* parent, const QString& suggested_path);

    Report_Form_Setup Setup;
    Report_Period_Kind Kind = Report_Period_Kind::Week;
    int Offset = 0;
    History_Report Report;
    bool Readable = false;
    Report_Scope Scope = Report_Scope::This_Pc;

    std::array<TVela_Button*, 4> Period_Buttons{};
    TVela_Button* Previous_Button = nullptr;
    TVela_Button* Next_Button = nullptr;
    TVela_Button* Save_Csv_Button = nullptr;
    std::array<TVela_Button*, 3> Scope_Buttons{};  // This_Pc, My_Pcs, Team
    TVela_Button* Local_History_Button = nullptr;  // offered when the server cannot be read
    QLabel* Period_Label = nullptr;
    QScrollArea* Type_Scroll_Area = nullptr;
    TWork_Type_Chart* Type_Chart = nullptr;
    TDay_Chart* Days_Chart = nullptr;
    QLabel* Worked_Value_Label = nullptr;
    QLabel* Full_Time_Value_Label = nullptr;
    QLabel* Balance_Value_Label = nullptr;
    QLabel* Booked_Beyond_Label = nullptr;
    QLabel* Notice_Label = nullptr;
    TVela_Button* Notice_Rebuild_Button = nullptr;

    QWidget* Problem_Panel = nullptr;
    QLabel* Problem_Icon = nullptr;
    QLabel* Problem_Headline = nullptr;
    QLabel* Problem_Text = nullptr;
    QLabel* Problem_Explanation = nullptr;
    TVela_Button* Rebuild_Button = nullptr;
    QProgressBar* Progress_Bar = nullptr;

    // The worker that loads or rebuilds; its outcome waits here until the window takes it.
    bool Work_Running = false;
    Work Running_Work = Work::Load;
    std::thread Worker;
    std::mutex Outcome_Mutex;
    std::condition_variable Outcome_Ready;
    std::optional<Report_Load_Outcome> Worker_Outcome;
};
