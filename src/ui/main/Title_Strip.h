#pragma once
// The strip at the top of the main window: the application title, which the window is
// dragged and double-clicked by like its background, and the minimize button.
#include <QPixmap>

class Main_Form_Commands;
class QLabel;
class QObject;
class QWidget;
class TVela_Button;
struct Settings;

class Title_Strip
{
public:
    // The title's mouse events go to event_filter; a click on the button minimizes.
    Title_Strip(QWidget* window, QObject* event_filter, Main_Form_Commands& commands);

    void Set_Title(const QString& title);
    // The title's colour and weight from the settings.
    void Set_Look(const Settings& settings);
    void Set_Minimize_Skin(const QPixmap& skin);

    QLabel* Title_Label() const { return Title; }

private:
    QLabel* Title = nullptr;
    TVela_Button* Minimize_Button = nullptr;
};
