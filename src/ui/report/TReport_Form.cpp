#include "ui/report/TReport_Form.h"

#include <malloc.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "history/Calendar.h"
#include "history/History_Csv.h"
#include "platform/Format.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/Skin_Bitmap.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Ui_Text.h"

namespace
{

// Where the parts of the window lie; the record table's width and margins.
constexpr int Margin = 6;
constexpr int Band_Width = TReport_Form::Client_Width - 2 * Margin;
constexpr int Header_Height = 18;
constexpr int Type_Header_Top = 68;
constexpr int Type_Rows_Shown = 8;
constexpr int Type_Area_Top = Type_Header_Top + Header_Height;
constexpr int Type_Area_Height = Type_Rows_Shown * TWork_Type_Chart::Row_Height;
constexpr int Day_Header_Top = Type_Area_Top + Type_Area_Height + Margin;
constexpr int Day_Chart_Top = Day_Header_Top + Header_Height;
constexpr int Day_Chart_Height = 204;
constexpr int Totals_Header_Top = Day_Chart_Top + Day_Chart_Height + Margin;
constexpr int Totals_Row_Top = Totals_Header_Top + Header_Height;
// The booked time beyond the worked time, under the totals when there is any.
constexpr int Booked_Beyond_Top = Totals_Row_Top + TWork_Type_Chart::Row_Height + 1;
constexpr int Booked_Beyond_Height = 15;
constexpr int Notice_Top = Booked_Beyond_Top + Booked_Beyond_Height + Margin;
constexpr int Totals_Column_Width = Band_Width / 3;

const QColor Surplus_Color(0x2e, 0x6b, 0x00);
const QColor Deficit_Color(0xa4, 0x00, 0x00);
const QColor Pale_Row_Color(0xf4, 0xf9, 0xec);

QString Date_Text(const Calendar_Date& date, const std::string& pattern)
{
    return QString::fromStdString(Format_Date(Date_Time_Of(date), pattern));
}

// The button skin's faces made wider: their ends kept as drawn, their middles stretched.
QPixmap Widened_Skin(const QPixmap& skin, int width)
{
    const int face_width = skin.width() / TVela_Button::Skin_Face_Count;
    if (skin.isNull() || width <= face_width) return skin;
    const int end = std::min(6, face_width / 3);
    QPixmap wide(width * TVela_Button::Skin_Face_Count, skin.height());
    wide.fill(Qt::transparent);
    QPainter painter(&wide);
    for (int face = 0; face < TVela_Button::Skin_Face_Count; ++face)
    {
        const int from = face * face_width;
        const int to = face * width;
        painter.drawPixmap(QRect(to, 0, end, skin.height()), skin, QRect(from, 0, end, skin.height()));
        painter.drawPixmap(QRect(to + end, 0, width - 2 * end, skin.height()), skin,
                           QRect(from + end, 0, face_width - 2 * end, skin.height()));
        painter.drawPixmap(QRect(to + width - end, 0, end, skin.height()), skin,
                           QRect(from + face_width - end, 0, end, skin.height()));
    }
    return wide;
}

QString Signed_Minutes_Text(long long minutes)
{
    const QString text = QString::fromStdString(Minutes_As_Hours_Text(minutes));
    return minutes > 0 ? QStringLiteral("+") + text : text;
}

}  // namespace

TReport_Form::TReport_Form(Report_Form_Setup setup, QWidget* parent)
    : QWidget(parent, Qt::Window), Setup(std::move(setup))
{
    setObjectName(QStringLiteral("Report_Form"));
    setFont(Program_Font());
    setFixedSize(Client_Width, Client_Height);
    setWindowTitle(Text(Report_Text::Window_Title));
    setFocusPolicy(Qt::StrongFocus);
    if (!Setup.Ask_Csv_Path)
        Setup.Ask_Csv_Path = [this](QWidget* dialog_parent, const QString& suggested_path) {
            return Ask_Csv_Path_In_Own_Language(dialog_parent, suggested_path);
        };
    Create_Components();
}

TReport_Form::~TReport_Form()
{
    // The source outlives its worker: a rebuild is not cut off halfway.
    if (Worker.joinable()) Worker.join();
}

QString TReport_Form::Text(Report_Text key) const { return From_Cp1250(Setup.Texts[key]); }

QString TReport_Form::Store_State_Text(Report_Store_State state) const
{
    switch (state)
    {
    case Report_Store_State::Ready: return {};
    case Report_Store_State::Missing: return Text(Report_Text::Store_Missing);
    case Report_Store_State::Damaged: return Text(Report_Text::Store_Damaged);
    case Report_Store_State::Read_Only: return Text(Report_Text::Store_Read_Only);
    case Report_Store_State::Locked: return Text(Report_Text::Store_Locked);
    case Report_Store_State::Directory: return Text(Report_Text::Store_Directory);
    case Report_Store_State::Unopenable: return Text(Report_Text::Store_Unopenable);
    }
    return {};
}

TVela_Button* TReport_Form::New_Button(QWidget* parent, const char* name, Report_Text caption, int left, int top)
{
    auto* button = new TVela_Button(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, 105, 25);
    button->Set_Button_Skin(Setup.Button_Skin);
    button->Set_Text(Text(caption));
    return button;
}

void TReport_Form::Create_Components()
{
    const std::array<std::pair<const char*, Report_Text>, 4> periods = {
        std::pair{"Week_Button", Report_Text::Week}, std::pair{"Month_Button", Report_Text::Month},
        std::pair{"Year_Button", Report_Text::Year}, std::pair{"All_Button", Report_Text::All}};
    for (std::size_t index = 0; index < periods.size(); ++index)
    {
        TVela_Button* button =
            New_Button(this, periods[index].first, periods[index].second, Margin + int(index) * 110, Margin);
        button->Set_Hold_Status(true);
        connect(button, &TVela_Button::Clicked, this,
                [this, index] { Show_Period(static_cast<Report_Period_Kind>(index), 0); });
        Period_Buttons[index] = button;
    }
    Previous_Button = New_Button(this, "Previous_Button", Report_Text::Previous, Client_Width - Margin - 215, Margin);
    Next_Button = New_Button(this, "Next_Button", Report_Text::Next, Client_Width - Margin - 105, Margin);
    Save_Csv_Button = New_Button(this, "Save_Csv_Button", Report_Text::Save_Csv, Client_Width - Margin - 105, 37);
    connect(Previous_Button, &TVela_Button::Clicked, this, [this] { Previous_ButtonClick(); });
    connect(Next_Button, &TVela_Button::Clicked, this, [this] { Next_ButtonClick(); });
    connect(Save_Csv_Button, &TVela_Button::Clicked, this, [this] { Save_Csv_ButtonClick(); });

    const std::array<std::pair<const char*, Report_Scope_Text>, 3> scopes = {
        std::pair{"This_Pc_Button", Report_Scope_Text::This_Pc}, std::pair{"My_Pcs_Button", Report_Scope_Text::My_Pcs},
        std::pair{"Team_Button", Report_Scope_Text::Team}};
    for (std::size_t index = 0; index < scopes.size(); ++index)
    {
        auto* button = new TVela_Button(this);
        button->setObjectName(QString::fromLatin1(scopes[index].first));
        button->Set_Button_Skin(Setup.Button_Skin);
        button->Set_Text(From_Cp1250(Setup.Scope_Texts[scopes[index].second]));
        button->Set_Hold_Status(true);
        button->hide();
        connect(button, &TVela_Button::Clicked, this,
                [this, index] { Choose_Scope(static_cast<Report_Scope>(index)); });
        Scope_Buttons[index] = button;
    }

    Period_Label = new QLabel(this);
    Period_Label->setObjectName(QStringLiteral("Period_Label"));
    Period_Label->setGeometry(Margin + 2, 37, 500, 25);
    QFont period_font = Program_Bold_Font();
    period_font.setPixelSize(14);
    Period_Label->setFont(period_font);
    QPalette title_palette = Period_Label->palette();
    title_palette.setColor(QPalette::WindowText, Setup.Title_Color);
    Period_Label->setPalette(title_palette);

    Type_Scroll_Area = new QScrollArea(this);
    Type_Scroll_Area->setObjectName(QStringLiteral("Type_Scroll_Area"));
    Type_Scroll_Area->setGeometry(Margin, Type_Area_Top, Band_Width, Type_Area_Height);
    Type_Scroll_Area->setFrameShape(QFrame::NoFrame);
    Type_Scroll_Area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Type_Scroll_Area->setWidgetResizable(true);
    // The arrow keys browse the periods; a focused scroll area would take them for itself.
    Type_Scroll_Area->setFocusPolicy(Qt::NoFocus);
    Type_Scroll_Area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette pale = Type_Scroll_Area->palette();
    pale.setColor(QPalette::Window, Pale_Row_Color);
    Type_Scroll_Area->viewport()->setPalette(pale);
    Type_Scroll_Area->viewport()->setAutoFillBackground(true);
    Type_Chart = new TWork_Type_Chart(Setup.Look);
    Type_Scroll_Area->setWidget(Type_Chart);

    Days_Chart = new TDay_Chart(Setup.Look, this);
    Days_Chart->setGeometry(Margin, Day_Chart_Top, Band_Width, Day_Chart_Height);
    Days_Chart->Set_Day_Names(Setup.Day_Names);
    Days_Chart->Set_Full_Time_Caption(Text(Report_Text::Full_Time_Line));
    Days_Chart->Set_Empty_Text(Text(Report_Text::Nothing_Recorded));

    const auto value_label = [this](const char* name, int column) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(Margin + column * Totals_Column_Width + 8, Totals_Row_Top, Totals_Column_Width - 16,
                           TWork_Type_Chart::Row_Height);
        label->setFont(Program_Bold_Font());
        return label;
    };
    Worked_Value_Label = value_label("Worked_Value_Label", 0);
    Full_Time_Value_Label = value_label("Full_Time_Value_Label", 1);
    Balance_Value_Label = value_label("Balance_Value_Label", 2);
    Booked_Beyond_Label = new QLabel(this);
    Booked_Beyond_Label->setObjectName(QStringLiteral("Booked_Beyond_Label"));
    Booked_Beyond_Label->setGeometry(Margin + 8, Booked_Beyond_Top, Band_Width - 16, Booked_Beyond_Height);

    Notice_Label = new QLabel(this);
    Notice_Label->setObjectName(QStringLiteral("Notice_Label"));
    Notice_Label->setGeometry(Margin + 2, Notice_Top - 2, Band_Width - 105 - 12, 29);
    Notice_Label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Notice_Rebuild_Button =
        New_Button(this, "Notice_Rebuild_Button", Report_Text::Rebuild, Client_Width - Margin - 105, Notice_Top);
    connect(Notice_Rebuild_Button, &TVela_Button::Clicked, this, [this] { Rebuild_ButtonClick(); });
    Notice_Rebuild_Button->hide();

    Create_Problem_Panel();
    Update_Buttons();
}

void TReport_Form::Create_Problem_Panel()
{
    Problem_Panel = new QWidget(this);
    Problem_Panel->setObjectName(QStringLiteral("Problem_Panel"));
    Problem_Panel->setGeometry(Margin, Type_Header_Top, Band_Width,
                               Booked_Beyond_Top + Booked_Beyond_Height - Type_Header_Top);
    Problem_Panel->setAutoFillBackground(true);
    // White like the message dialog, on which the error icon is drawn.
    QPalette white = Problem_Panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    Problem_Panel->setPalette(white);
    Problem_Icon = new QLabel(Problem_Panel);
    Problem_Icon->setGeometry(40, 60, 64, 64);
    // The texts stack in a column beside the icon, each as tall as its lines: a long
    // message pushes the ones below down instead of running into them.
    auto* column = new QWidget(Problem_Panel);
    column->setGeometry(128, 60, Band_Width - 128 - 40, Problem_Panel->height() - 60 - Margin);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(8);
    const auto text_label = [&](const char* name) {
        auto* label = new QLabel(column);
        label->setObjectName(QString::fromLatin1(name));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
        return label;
    };
    Problem_Headline = text_label("Problem_Headline");
    QFont headline_font = Program_Bold_Font();
    headline_font.setPixelSize(14);
    Problem_Headline->setFont(headline_font);
    Problem_Text = text_label("Problem_Text");
    Problem_Explanation = text_label("Problem_Explanation");
    Rebuild_Button = New_Button(column, "Rebuild_Button", Report_Text::Rebuild, 0, 0);
    Rebuild_Button->setFixedSize(105, 25);
    layout->addWidget(Rebuild_Button, 0, Qt::AlignLeft);
    connect(Rebuild_Button, &TVela_Button::Clicked, this, [this] { Rebuild_ButtonClick(); });
    Local_History_Button = new TVela_Button(column);
    Local_History_Button->setObjectName(QStringLiteral("Local_History_Button"));
    Local_History_Button->Set_Text(From_Cp1250(Setup.Scope_Texts[Report_Scope_Text::This_Pc]));
    Local_History_Button->setFixedSize(160, 25);
    Local_History_Button->Set_Button_Skin(Widened_Skin(Setup.Button_Skin, 160));
    Local_History_Button->hide();
    layout->addWidget(Local_History_Button, 0, Qt::AlignLeft);
    connect(Local_History_Button, &TVela_Button::Clicked, this, [this] { Choose_Scope(Report_Scope::This_Pc); });
    Progress_Bar = new QProgressBar(column);
    Progress_Bar->setObjectName(QStringLiteral("Progress_Bar"));
    Progress_Bar->setFixedHeight(17);
    Progress_Bar->setRange(0, 1000);
    Progress_Bar->setTextVisible(false);
    Progress_Bar->hide();
    layout->addWidget(Progress_Bar);
    layout->addStretch(1);
    Problem_Panel->hide();
}

bool TReport_Form::Problem_Shown() const { return !Problem_Panel->isHidden(); }

bool TReport_Form::Notice_Shown() const { return !Notice_Label->text().isEmpty(); }

void TReport_Form::Open()
{
    if (!Work_Running)
    {
        Start_Work(Work::Load);
        // Usually the history is there at once and the first frame shows its figures.
        {
            std::unique_lock lock(Outcome_Mutex);
            Outcome_Ready.wait_for(lock, std::chrono::milliseconds(Quick_Load_Milliseconds),
                                   [this] { return Worker_Outcome.has_value(); });
        }
        Collect_Work();
    }
    show();
    raise();
    activateWindow();
}

void TReport_Form::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // While the worker reads, the source is its; what it read goes at the next close.
    if (Work_Running) return;
    Setup.Source->Release();
    Report = History_Report{};
    Type_Chart->Set_Work_Types({});
    Days_Chart->Set_Report(Report);
    Readable = false;
    // The freed days lie scattered in the heap; hand the whole pages back to the system.
    ::malloc_trim(0);
}

void TReport_Form::Start_Work(Work work)
{
    if (Worker.joinable()) Worker.join();
    Work_Running = true;
    Running_Work = work;
    Worker_Outcome.reset();
    const QString headline = work == Work::Rebuild ? Text(Report_Text::Reading_Target_Log)
                             : Scope == Report_Scope::This_Pc
                                 ? Text(Report_Text::Loading)
                                 : From_Cp1250(Setup.Scope_Texts[Report_Scope_Text::Reading_Server]);
    Show_Problem(headline, QString(), false);
    Problem_Explanation->clear();
    Progress_Bar->setValue(0);
    Progress_Bar->show();
    // The source learns here whether a server is configured: the switch follows it.
    Setup.Source->Set_Scope(work == Work::Rebuild ? Report_Scope::This_Pc : Scope);
    Setup.Source->Prepare_Work();
    Update_Buttons();
    Worker = std::thread([this, work] {
        int last_permille = -1;
        const Report_Progress progress = [this, &last_permille](std::uint64_t done, std::uint64_t total) {
            const int permille = total > 0 ? int(std::min<std::uint64_t>(done, total) * 1000 / total) : 0;
            if (permille == last_permille) return;
            last_permille = permille;
            QMetaObject::invokeMethod(
                this, [this, permille] { Progress_Bar->setValue(permille); }, Qt::QueuedConnection);
        };
        Report_Load_Outcome outcome =
            work == Work::Load ? Setup.Source->Load(progress) : Setup.Source->Rebuild(progress);
        {
            std::lock_guard lock(Outcome_Mutex);
            Worker_Outcome = std::move(outcome);
        }
        Outcome_Ready.notify_all();
        QMetaObject::invokeMethod(
            this, [this] { Collect_Work(); }, Qt::QueuedConnection);
    });
}

void TReport_Form::Collect_Work()
{
    std::optional<Report_Load_Outcome> outcome;
    {
        std::lock_guard lock(Outcome_Mutex);
        outcome.swap(Worker_Outcome);
    }
    // Taken already by the quick wait of the opening, or nothing has ended yet.
    if (!outcome) return;
    Finish_Work(*outcome, Running_Work);
}

void TReport_Form::Finish_Work(const Report_Load_Outcome& outcome, Work work)
{
    Work_Running = false;
    Progress_Bar->hide();
    Readable = outcome.Readable;
    const QString state = Store_State_Text(outcome.Store_State);
    const QString detail =
        QString::fromStdString(outcome.Store_State == Report_Store_State::Ready ? std::string() : outcome.Store_Detail);
    if (outcome.Server_Unreadable)
    {
        // Said as it is, with this PC's history one click away.
        Show_Problem(From_Cp1250(Setup.Scope_Texts[Report_Scope_Text::Server_Unreadable]),
                     QString::fromStdString(outcome.Failure), false);
        Problem_Explanation->setText(From_Cp1250(Setup.Scope_Texts[Report_Scope_Text::Local_Offered]));
        Local_History_Button->show();
        Show_Notice(QString(), QString(), false, false);
    }
    else if (!Readable && outcome.History_Not_Begun)
    {
        Show_Problem(Text(Report_Text::No_Finished_Days), Text(Report_Text::No_Finished_Days_Detail), false);
        Show_Notice(QString(), QString(), false, false);
    }
    else if (!Readable)
    {
        QStringList lines;
        for (const QString& line : {state, detail, QString::fromStdString(outcome.Failure)})
            if (!line.isEmpty()) lines << line;
        Show_Problem(Text(outcome.Rebuild_Failed ? Report_Text::Rebuild_Failed : Report_Text::History_Unreadable),
                     lines.join(QLatin1Char('\n')), true);
        Show_Notice(QString(), QString(), false, false);
    }
    else
    {
        Problem_Panel->hide();
        Show_Report();
        if (outcome.Rebuild_Failed)
            Show_Notice(Text(Report_Text::Rebuild_Failed), QString::fromStdString(outcome.Failure), true, true);
        // A day in progress before any finished one: nothing is wrong.
        else if (outcome.History_Not_Begun) Show_Notice(QString(), QString(), false, false);
        else if (outcome.Store_State != Report_Store_State::Ready) Show_Notice(state, detail, true, true);
        else if (outcome.Unreadable_Lines > 0)
        {
            // The first left-out lines by number, so that they can be found and mended.
            QStringList numbers;
            for (const std::uint64_t number : outcome.First_Unreadable_Line_Numbers) numbers << QString::number(number);
            if (outcome.Unreadable_Lines > outcome.First_Unreadable_Line_Numbers.size()) numbers << QStringLiteral("…");
            const QString named = numbers.isEmpty()
                                      ? QString()
                                      : QStringLiteral(" (") + numbers.join(QStringLiteral(", ")) + QLatin1Char(')');
            Show_Notice(Text(Report_Text::Unreadable_Lines) + QStringLiteral(" ") +
                            QString::number(outcome.Unreadable_Lines) + named,
                        QString(), false, true);
        }
        else if (work == Work::Rebuild) Show_Notice(QString(), QString(), false, false);
    }
    Update_Buttons();
    update();
    emit Work_Ended();
}

void TReport_Form::Show_Period(Report_Period_Kind kind, int offset)
{
    if (Work_Running) return;
    Kind = kind;
    Offset = kind == Report_Period_Kind::All ? 0 : offset;
    if (Readable) Show_Report();
    Update_Buttons();
}

void TReport_Form::Show_Report()
{
    Report = Setup.Source->Report_For(Kind, Offset);
    Period_Label->setText(Report.From.Year == 0
                              ? QStringLiteral("\u2013")
                              : Date_Text(Report.From, Setup.Date_Pattern) + QStringLiteral("  \u2013  ") +
                                    Date_Text(Report.To, Setup.Date_Pattern));
    Type_Chart->Set_Work_Types(Report.By_Work_Type);
    Days_Chart->Set_Report(Report, Kind == Report_Period_Kind::Year  ? Day_Chart_Bars::Weeks
                                   : Kind == Report_Period_Kind::All ? Day_Chart_Bars::Months
                                                                     : Day_Chart_Bars::Days);
    Worked_Value_Label->setText(QString::fromStdString(Minutes_As_Hours_Text(Report.Worked_Minutes)));
    Full_Time_Value_Label->setText(QString::fromStdString(Minutes_As_Hours_Text(Report.Full_Time_Minutes)));
    Balance_Value_Label->setText(Signed_Minutes_Text(Report.Overtime_Balance_Minutes));
    QPalette balance_palette = Balance_Value_Label->palette();
    balance_palette.setColor(QPalette::WindowText, Report.Overtime_Balance_Minutes < 0 ? Deficit_Color : Surplus_Color);
    Balance_Value_Label->setPalette(balance_palette);
    Booked_Beyond_Label->setText(
        Report.Booked_Beyond_Worked_Minutes == 0
            ? QString()
            : Text(Report_Text::Booked_Beyond_Worked) + QLatin1Char(' ') +
                  QString::fromStdString(Minutes_As_Hours_Text(Report.Booked_Beyond_Worked_Minutes)));
}

void TReport_Form::Show_Problem(const QString& headline, const QString& problem, bool offer_rebuild)
{
    Period_Label->clear();
    if (Problem_Icon->pixmap().isNull() && offer_rebuild)
    {
        QPixmap icon;
        // The icon is a strip of 64 x 64 frames; the first one stands still here.
        if (Load_Skin_Bitmap(Setup.Error_Icon_Path, icon)) Problem_Icon->setPixmap(icon.copy(0, 0, 64, 64));
    }
    Problem_Icon->setVisible(offer_rebuild);
    Local_History_Button->hide();
    Problem_Headline->setText(headline);
    Problem_Text->setText(problem);
    Problem_Explanation->setText(offer_rebuild ? Text(Report_Text::Rebuild_Explanation) : QString());
    Rebuild_Button->setVisible(offer_rebuild);
    Problem_Panel->show();
    Problem_Panel->raise();
}

void TReport_Form::Show_Notice(const QString& text, const QString& detail, bool offer_rebuild, bool failure)
{
    QPalette palette = Notice_Label->palette();
    palette.setColor(QPalette::WindowText, failure ? Deficit_Color : Setup.Title_Color);
    Notice_Label->setPalette(palette);
    // Two lines fit beside the button: each line (one file's fault) is shortened in its
    // middle, where a long path is least missed; the whole text stays in the tooltip.
    QStringList lines = detail.isEmpty() ? QStringList() : detail.split(QLatin1Char('\n'));
    if (!text.isEmpty()) lines.prepend(text);
    const QFontMetrics metrics(Notice_Label->font());
    QStringList shown;
    for (const QString& line : lines.mid(0, 2))
        shown << metrics.elidedText(line, Qt::ElideMiddle, Notice_Label->width());
    Notice_Label->setText(shown.join(QLatin1Char('\n')));
    Notice_Label->setToolTip(lines.size() > 2 || shown != lines.mid(0, 2) ? lines.join(QLatin1Char('\n')) : detail);
    Notice_Rebuild_Button->setVisible(offer_rebuild);
}

void TReport_Form::Update_Buttons()
{
    for (std::size_t index = 0; index < Period_Buttons.size(); ++index)
    {
        Period_Buttons[index]->Set_Button_Down(static_cast<Report_Period_Kind>(index) == Kind);
        Period_Buttons[index]->setEnabled(!Work_Running && Readable);
    }
    const bool browsable = Kind != Report_Period_Kind::All && !Work_Running && Readable;
    Previous_Button->setEnabled(browsable);
    // Later periods than the present one hold nothing yet.
    Next_Button->setEnabled(browsable && Offset < 0);
    Save_Csv_Button->setEnabled(!Work_Running && Readable);
    Rebuild_Button->setEnabled(!Work_Running);
    Notice_Rebuild_Button->setEnabled(!Work_Running);
    Update_Scope_Switch();
}

void TReport_Form::Update_Scope_Switch()
{
    const std::vector<Report_Scope> offered = Setup.Source->Scopes();
    // A server taken out of Setup.ini leaves this PC's history.
    if (std::find(offered.begin(), offered.end(), Scope) == offered.end()) Scope = Report_Scope::This_Pc;
    // Right-aligned beside the CSV button, each as wide as its caption; the period's label
    // keeps the rest of the row.
    int right = Client_Width - Margin - 105 - Margin;
    for (std::size_t index = Scope_Buttons.size(); index-- > 0;)
    {
        TVela_Button* button = Scope_Buttons[index];
        const bool shown = offered.size() > 1 &&
                           std::find(offered.begin(), offered.end(), static_cast<Report_Scope>(index)) != offered.end();
        button->setVisible(shown);
        if (!shown) continue;
        const int width = std::max(70, button->fontMetrics().horizontalAdvance(button->Text()) + 24);
        right -= width;
        if (button->width() != width) button->Set_Button_Skin(Widened_Skin(Setup.Button_Skin, width));
        button->setGeometry(right, 37, width, 25);
        right -= 4;
        button->Set_Button_Down(static_cast<Report_Scope>(index) == Scope);
        button->setEnabled(!Work_Running);
    }
    Period_Label->setFixedWidth(std::min(500, right - Margin - 2 - Margin));
    Local_History_Button->setEnabled(!Work_Running);
}

void TReport_Form::Choose_Scope(Report_Scope scope)
{
    if (Work_Running) return;
    if (scope == Scope && Readable)
    {
        Update_Buttons();  // a held button pressed again stays down
        return;
    }
    Scope = scope;
    Start_Work(Work::Load);
}

void TReport_Form::Previous_ButtonClick()
{
    if (Previous_Button->isEnabled()) Show_Period(Kind, Offset - 1);
}

void TReport_Form::Next_ButtonClick()
{
    if (Next_Button->isEnabled()) Show_Period(Kind, Offset + 1);
}

void TReport_Form::Save_Csv_ButtonClick()
{
    if (!Save_Csv_Button->isEnabled()) return;
    const auto date = [](const Calendar_Date& value) {
        return QString::fromStdString(Iso_Date_Text(value));
    };
    const QString name = Report.From.Year == 0
                             ? QStringLiteral("work-history.csv")
                             : QStringLiteral("work-history-%1-%2.csv").arg(date(Report.From), date(Report.To));
    const QString path =
        Setup.Ask_Csv_Path(this, QDir(Setup.Csv_Folder.isEmpty() ? QDir::homePath() : Setup.Csv_Folder).filePath(name));
    if (path.isEmpty()) return;
    // The two tables the command line prints, the work types first.
    const std::string csv = Work_Type_Csv(Report) + "\n" + Days_Csv(Report);
    // Written aside and renamed, so a failed save never leaves half a file under the name.
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(csv.data(), qint64(csv.size())) == qint64(csv.size()) && file.commit();
    if (saved)
        Show_Notice(Text(Report_Text::Csv_Saved) + QStringLiteral(" ") + QDir::toNativeSeparators(path), QString(),
                    Notice_Rebuild_Button->isVisible(), false);
    else
        Show_Notice(Text(Report_Text::Csv_Not_Saved) + QStringLiteral(" ") + file.errorString(), QString(),
                    Notice_Rebuild_Button->isVisible(), true);
}

QString TReport_Form::Replace_Question_Text(const QString& path) const
{
    // The language file's pattern, as its other texts; a broken one still names the file.
    const std::optional<std::string> text =
        Format(Setup.Texts[Report_Text::Replace_Question], {To_Cp1250(QDir::toNativeSeparators(path))});
    return text ? From_Cp1250(*text) : QDir::toNativeSeparators(path);
}

QString TReport_Form::Ask_Csv_Path_In_Own_Language(QWidget* parent, const QString& suggested_path)
{
    // Qt's own dialog, not the desktop's: every word of it comes from the language file.
    QFileDialog dialog(parent, Text(Report_Text::Save_Csv), suggested_path,
                       Text(Report_Text::Csv_Files) + QStringLiteral(" (*.csv)"));
    dialog.setObjectName(QStringLiteral("Save_Csv_Dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setLabelText(QFileDialog::LookIn, Text(Report_Text::Save_Dialog_Look_In));
    dialog.setLabelText(QFileDialog::FileName, Text(Report_Text::Save_Dialog_File_Name));
    dialog.setLabelText(QFileDialog::FileType, Text(Report_Text::Save_Dialog_File_Type));
    dialog.setLabelText(QFileDialog::Accept, Text(Report_Text::Save_Dialog_Save));
    dialog.setLabelText(QFileDialog::Reject, Text(Report_Text::Save_Dialog_Cancel));
    // Qt's own question whether to replace a file would speak English.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    {
        QString path = dialog.selectedFiles().constFirst();
        if (!QFileInfo::exists(path)) return path;
        QMessageBox question(QMessageBox::Question, Text(Report_Text::Save_Csv), Replace_Question_Text(path),
                             QMessageBox::NoButton, &dialog);
        QPushButton* replace = question.addButton(Text(Report_Text::Save_Dialog_Save), QMessageBox::AcceptRole);
        question.setDefaultButton(question.addButton(Text(Report_Text::Save_Dialog_Cancel), QMessageBox::RejectRole));
        question.exec();
        if (question.clickedButton() == replace) return path;
        dialog.selectFile(path);
    }
    return {};
}

void TReport_Form::Rebuild_ButtonClick()
{
    if (Work_Running) return;
    Scope = Report_Scope::This_Pc;  // only this PC's history is rebuilt
    Start_Work(Work::Rebuild);
}

void TReport_Form::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Setup.Background);
    const Report_Chart_Look& look = Setup.Look;
    const auto header = [&](int top, const std::vector<std::pair<QRect, Qt::Alignment>>& cells,
                            const std::vector<QString>& texts) {
        Draw_Skin_Band(painter, QRect(Margin, top, Band_Width, Header_Height), look.Header_Skin,
                       QColor(0x3c, 0x6e, 0x0a));
        painter.setPen(look.Header_Text_Color);
        painter.setFont(With_Bold(Program_Font(), look.Header_Text_Bold));
        for (std::size_t index = 0; index < cells.size(); ++index)
            painter.drawText(cells[index].first.translated(Margin, top), cells[index].second | Qt::AlignVCenter,
                             texts[index]);
    };
    header(Type_Header_Top,
           {{QRect(TWork_Type_Chart::Name_Left, 0, 300, Header_Height), Qt::AlignLeft},
            {QRect(TWork_Type_Chart::Time_Right - 66, 0, 66, Header_Height), Qt::AlignRight},
            {QRect(TWork_Type_Chart::Share_Right - 66, 0, 66, Header_Height), Qt::AlignRight}},
           {Text(Report_Text::Work_Type), Text(Report_Text::Time), Text(Report_Text::Share)});
    header(Day_Header_Top, {{QRect(8, 0, 400, Header_Height), Qt::AlignLeft}}, {Text(Report_Text::Time_Per_Day)});
    header(Totals_Header_Top,
           {{QRect(8, 0, Totals_Column_Width - 16, Header_Height), Qt::AlignLeft},
            {QRect(Totals_Column_Width + 8, 0, Totals_Column_Width - 16, Header_Height), Qt::AlignLeft},
            {QRect(2 * Totals_Column_Width + 8, 0, Totals_Column_Width - 16, Header_Height), Qt::AlignLeft}},
           {Text(Report_Text::Worked), Text(Report_Text::Full_Time_Target), Text(Report_Text::Overtime_Balance)});
    Draw_Skin_Band(painter, QRect(Margin, Totals_Row_Top, Band_Width, TWork_Type_Chart::Row_Height), look.Row_Skin,
                   Pale_Row_Color);
    // The one-pixel frame of the program's windows.
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TReport_Form::keyPressEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Escape: close(); break;
    case Qt::Key_Left:
    case Qt::Key_PageUp: Previous_ButtonClick(); break;
    case Qt::Key_Right:
    case Qt::Key_PageDown: Next_ButtonClick(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}
