// Termination signals reach the user-interface thread and end the day like a close.
#include <csignal>

#include "Main_Form_Test_Support.h"
#include "ui/main/Termination_Signals.h"

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
        QTRY_COMPARE(received.size(), std::size_t(3));
        QCOMPARE(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    }

    void A_Termination_Signal_Saves_The_Day_And_The_Protocol()
    {
        Program_Directory_Fixture directory;
        directory.Add_Main_Setup("First_Start=1");
        directory.Write_Setup();
        Main_Form_Harness harness(directory);
        harness.Form->Form_Create();
        harness.Form->show();
        QFile::remove(directory.Path("Actual_Work_Log.log"));

        Termination_Signals signals_of_process;
        TMain_Form* form = harness.Form.get();
        connect(&signals_of_process, &Termination_Signals::Termination_Requested, form,
                [form](int) { form->End_Day_And_Quit(); });
        QCOMPARE(::raise(SIGTERM), 0);
        QTRY_VERIFY(form->Day_Ended());
        QCOMPARE(harness.Quit_Requests, 1);
        QCOMPARE(Read_File(directory.Path("Actual_Work_Log.log")).size(), std::size_t(1536));
        QVERIFY(Read_File(directory.Path("Error_Log.log")).find("SAVE_ACTUAL_WORK_LOG - OK") != std::string::npos);
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(Termination_Signals_Test)
#include "Termination_Signals_test.moc"
