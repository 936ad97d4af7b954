#pragma once
// The picture that greets a new working day: borderless, on top, centred on the screen,
// closed only by its timer 1700 ms after it was shown.
#include <QDialog>
#include <QPixmap>

class QTimer;

class TSplash_Screen_Form : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Display_Milliseconds = 1700;

    explicit TSplash_Screen_Form(QWidget* parent = nullptr);

    // Loads the picture and sizes the window to it; false when it cannot be read.
    bool Load_Splash_Bitmap(const QString& path);
    // Centres the window on the screen, starts Display_Timer and waits for it.
    int Show_Until_Timer();

    QTimer* Display_Timer = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Display_TimerTimer();

    QPixmap Splash_Bitmap;
};
