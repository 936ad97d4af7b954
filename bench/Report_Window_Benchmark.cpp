// Opens the report window for a year over a generated ten-year history (about 2,600
// working days in Work_History.sqlite) and prints the milliseconds from the opening to
// the first frame drawn and handed to the display: the window built, the history loaded,
// the year counted and painted, with a main window already on the screen.
// With --memory YEARS, over that many years instead, it prints besides the resident memory
// before the opening, with the year shown and after the window closed, in kilobytes: a
// closed window keeps only itself.
// Usage: report_window_benchmark PROGRAM_DATA_DIRECTORY [--memory YEARS]
//        (DISPLAY or QT_QPA_PLATFORM set)
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "config/Language_File.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "history/Calendar.h"
#include "history/History_Access.h"
#include "history/History_Store.h"
#include "ui/controls/Program_Font.h"
#include "ui/controls/Skin_Bitmap.h"
#include "ui/controls/Ui_Text.h"
#include "ui/report/History_Report_Source.h"
#include "ui/report/Report_Form_Opener.h"

namespace
{

using Steady_Clock = std::chrono::steady_clock;

// Records the moment the watched window's first paint has been flushed.
class First_Frame_Application : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        const bool result = QApplication::notify(receiver, event);
        if (Watched != nullptr && receiver == Watched && event->type() == QEvent::Paint && !Painted)
        {
            Painted = true;
            // The repaint manager flushes right after painting; the zero timer runs after that.
            QTimer::singleShot(0, this, [this] {
                First_Frame = Steady_Clock::now();
                // exit, not quit: quit would close the windows, and a closed report lets its days go.
                exit(0);
            });
        }
        return result;
    }
    QObject* Watched = nullptr;
    bool Painted = false;
    Steady_Clock::time_point First_Frame;
};

long Resident_Kilobytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

std::vector<History_Day> Years_Of_Days(const Calendar_Date& last, int years)
{
    static const char* const work_types[] = {"Programov\xe1n\xed",
                                             "Porada",
                                             "Dokumentace",
                                             "Testov\xe1n\xed",
                                             "Podpora",
                                             "Anal\xfdza",
                                             "Revize k\xf3"
                                             "du",
                                             "\xda"
                                             "dr\xfe"
                                             "ba",
                                             "\x8akolen\xed",
                                             "Pl\xe1nov\xe1n\xed",
                                             "Cesta",
                                             "DEFAULT"};
    std::vector<History_Day> days;
    unsigned seed = 12345;
    const auto random = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    const long long last_day = Days_Since_Epoch(last);
    for (long long number = last_day - 3652LL * years / 10; number <= last_day; ++number)
    {
        const Calendar_Date date = Date_From_Days_Since_Epoch(number);
        if (Iso_Day_Of_Week(date) > 5) continue;
        History_Day day;
        day.Date = date;
        const unsigned parts = 2 + random(5);
        for (unsigned part = 0; part < parts; ++part)
        {
            const long long minutes = 15 * (1 + random(12));
            day.By_Work_Type.push_back({work_types[(part * 3 + random(3)) % 12], minutes});
            day.Worked_Minutes += minutes;
        }
        days.push_back(std::move(day));
    }
    return days;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool memory = argc == 4 && std::string(argv[2]) == "--memory";
    if (argc != 2 && !memory)
    {
        std::fprintf(stderr, "usage: report_window_benchmark PROGRAM_DATA_DIRECTORY [--memory YEARS]\n");
        return 2;
    }
    const int years = memory ? std::max(1, std::atoi(argv[3])) : 10;
    First_Frame_Application application(argc, argv);
    const std::string data_directory = argv[1];
    const std::filesystem::path work = std::filesystem::temp_directory_path() /
                                       ("zl_report_bench_" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(work);

    const Calendar_Date today{2026, 12, 4};
    History_Settings history;
    history.Program_Directory = work.string() + "/";
    history.Target_Log_File_Name = history.Program_Directory + "Work_Log.csv";
    history.Format.Line_Pattern = "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s";
    history.Format.Short_Date_Pattern = "dd.MM.yyyy";
    std::string failure;
    if (!History_Store::Write_New(history.Store_Path(), Years_Of_Days(today, years), failure))
    {
        std::fprintf(stderr, "cannot write the history: %s\n", failure.c_str());
        return 1;
    }

    const Program_Paths paths(data_directory);
    Settings settings;
    settings.Language_File_Path = paths.File("Czech.lng");
    const Language_Texts texts = Load_Language_Texts(settings.Language_File_Path);
    // The main window holds the button skin already when the key R is pressed.
    QPixmap button_skin;
    Load_Skin_Bitmap(Path_To_QString(paths.Skin("Button_Skin.bmp")), button_skin);

    // The key R is pressed in a main window that is already up: fonts, the X connection
    // and the widget machinery are warm. A plain window of its size stands in for it.
    QWidget main_window;
    main_window.resize(755, 120);
    QLabel caption(QString::fromUtf8("Zentavo Logger \u2013 P\u0159ehled"), &main_window);
    caption.setFont(Program_Font());
    QLabel bold(QStringLiteral("00:00"), &main_window);
    bold.setFont(Program_Bold_Font());
    bold.move(0, 30);
    application.Watched = &main_window;
    main_window.show();
    application.exec();
    application.Painted = false;

    const long resident_before = Resident_Kilobytes();
    const Steady_Clock::time_point start = Steady_Clock::now();
    auto source = std::make_unique<History_Report_Source>([history] { return history; }, [today] { return today; });
    TReport_Form form(Make_Report_Form_Setup(paths, settings, texts, button_skin, std::move(source),
                                             history.Format.Short_Date_Pattern));
    application.Watched = &form;
    form.Show_Period(Report_Period_Kind::Year, 0);
    form.Open();
    application.exec();
    const double milliseconds = std::chrono::duration<double, std::milli>(application.First_Frame - start).count();

    // A long history may still be loading at the first frame; its memory counts once shown.
    for (int wait = 0; memory && form.Shown_Report().Days.empty() && wait < 6000; ++wait)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    const long resident_open = Resident_Kilobytes();
    const std::size_t days = form.Shown_Report().Days.size();
    form.close();
    QCoreApplication::processEvents();
    const long resident_after = Resident_Kilobytes();
    std::filesystem::remove_all(work);
    if (days < 200)
    {
        std::fprintf(stderr, "the year shows %zu days\n", days);
        return 1;
    }
    if (memory) std::printf("%.1f %ld %ld %ld\n", milliseconds, resident_before, resident_open, resident_after);
    else std::printf("%.1f\n", milliseconds);
    return 0;
}
