#pragma once
// The hidden testing panel: a copy of the protocol inside the main window, a tooltip for
// lines too long to read, and the credits behind a sequence typed into the list.
#include <QChar>
#include <QFrame>
#include <QString>

class Error_List;
class QListWidget;
class TVela_Button;

class TTesting_Panel : public QFrame
{
    Q_OBJECT

public:
    explicit TTesting_Panel(QWidget* parent);

    // A snapshot: lines added later show at the next copy.
    void Copy_Protocol(const Error_List& errors);

    void Error_List_BoxMouseMove(const QPoint& position);
    void Error_List_BoxKeyPress(QChar character);
    void TST_Exit_Testing_ModeMouseEnter();

    TVela_Button* Exit_Testing_Mode_Button() const { return TST_Exit_Testing_Mode; }
    QListWidget* Error_List_Box() const { return Error_List_Box_Widget; }
    int Credits_Step() const { return Credits_Step_Value; }
    const QString& Error_List_Box_Hint() const { return Error_List_Hint; }

signals:
    void Exit_Clicked();
    void Credits_Due();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TVela_Button* TST_Exit_Testing_Mode = nullptr;
    QListWidget* Error_List_Box_Widget = nullptr;
    int Credits_Step_Value = 0;  // the step reached in the credits sequence
    QString Error_List_Hint;
};
