// Termination signals reach the user-interface thread and end the day like a close.
#include "ui/main/Termination_Signals.h"

#include <csignal>

#include "Main_Form_Test_Support.h"

class Termination_Signals_Test : public QObject
{
    Q_OBJECT

private slots:
    void Each_Signal_Arrives_On_The_Event_Loop()
    {
        Termination_Signals signals_of_process;
        QVERIFY(signals_of_process.Installed());
        std::vector<int> received;
        connect(&signals_of_process, &Termination_Signals::Termination_Requested, this,
                [&received](int signal_number) { received.push_back(signal_number); });
        for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) QCOMPARE(::raise(signal_number), 0);
        // Nothing happens inside the handler itself; the loop delivers all three.
        QVERIFY(received.empty());
        QTRY_COMPARE(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    }

    void A_Termination_Signal_Saves_The_Day_And_The_Protocol()
    {
        Started_Main_Form start({"First_Start=1"});
        TMain_Form* form = &start.Form();
        form->show();
        QFile::remove(start.Directory.Path("Actual_Work_Log.log"));
        Termination_Signals signals_of_process;
        connect(&signals_of_process, &Termination_Signals::Termination_Requested, form,
                [form](int) { form->End_Day_And_Quit(); });
        QCOMPARE(::raise(SIGTERM), 0);
        QTRY_VERIFY(form->Day_Ended());
        QVERIFY(start.Harness->Quit_Requests == 1 && !form->isVisible());
        QCOMPARE(Read_File(start.Directory.Path("Actual_Work_Log.log")).size(), std::size_t(1536));
        QVERIFY(Read_File(start.Directory.Path("Error_Log.log")).find("SAVE_ACTUAL_WORK_LOG - OK") !=
                std::string::npos);
    }
};

QTEST_MAIN(Termination_Signals_Test)
#include "Termination_Signals_test.moc"
