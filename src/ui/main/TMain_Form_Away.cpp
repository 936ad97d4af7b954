// The main window's part in the question after time away: the watch is made at the first
// minute tick, after the first frame, and asks between the minute's other work.
#include <QApplication>

#include "ui/dialogs/TAway_Question_Form.h"
#include "ui/main/Counting_Message_Dialogs.h"
#include "ui/main/TMain_Form.h"
#include "ui/session/Time_Away_Watch.h"

void TMain_Form::Watch_Time_Away()
{
    if (!Away_Watch && Seams.Make_Presence_Watch && Dialogs && Grid && Creation_Done)
        Away_Watch = std::make_unique<Time_Away_Watch>(
            Seams.Make_Presence_Watch(), *Seams.Clock_Source, Setup, Log,
            Time_Away_Watch::Hooks{
                [this] { Update_TimerTimer(); },
                [this] { return !Day_Has_Ended && !Any_Dialog_Open() && !QApplication::activeModalWidget(); },
                [this](const Away_Period& period) {
                    // As the record editor: no other editor meanwhile, the
                    // window laid out for a new row afterwards.
                    Editor_Open = true;
                    const int result = Display_Away_Question_Form(Rules, Texts, Resources(), *Dialogs, period);
                    Editor_Open = false;
                    if (Day_Has_Ended) return;
                    if (result == QDialog::Accepted) Day_Changed();
                    Take_Focus_Back();
                    Input.Arm();
                    Update_Layout();
                    if (Setup.Main_Form_Anchor > 2) Apply_Anchor();
                }});
    if (Away_Watch) Away_Watch->Tick();
}
