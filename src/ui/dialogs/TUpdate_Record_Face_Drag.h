#pragma once
// Dragging a dialog by its face (the form, its group boxes and labels) with any mouse
// button, as by its caption; the window moves itself, and with the movement restriction
// on every proposed position is held inside the screen's work area. A move by the title
// bar is held inside it afterwards.
#include <QObject>
#include <QPoint>

class QWidget;
struct Settings;

class TUpdate_Record_Face_Drag : public QObject
{
    Q_OBJECT
public:
    // The restriction is read at every move, so a live change acts at once.
    TUpdate_Record_Face_Drag(QWidget* window, const Settings& settings);

    // Makes the widget a handle by which the window can be dragged.
    void Add_Handle(QWidget* handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Move_To(const QPoint& global_pointer);

    QWidget* Window;
    const Settings& Drag_Settings;
    bool Dragging = false;
    QPoint Pointer_Offset;  // pointer position less the window's top left at the press
};

// A dialog opens where it was left, partly off the screen too; only one that would touch
// no screen at all (a monitor since removed) is brought back into the work area, as the
// main window is, since a modal dialog out of sight would hold the program.
void Keep_Opening_Dialog_On_Screen(QWidget* dialog);
