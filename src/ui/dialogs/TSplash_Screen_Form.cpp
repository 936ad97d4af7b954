#include "ui/dialogs/TSplash_Screen_Form.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "ui/controls/Skin_Bitmap.h"

TSplash_Screen_Form::TSplash_Screen_Form(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Zentavo Logger"));
    setWindowOpacity(1.0);
    setFixedSize(390, 243);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);

    Display_Timer = new QTimer(this);
    Display_Timer->setInterval(Display_Milliseconds);
    Display_Timer->setSingleShot(true);
    Display_Timer->setTimerType(Qt::PreciseTimer);  // a coarse timer may end the greeting early
    connect(Display_Timer, &QTimer::timeout, this, &TSplash_Screen_Form::Display_TimerTimer);
}

bool TSplash_Screen_Form::Load_Splash_Bitmap(const QString& path)
{
    if (!Load_Skin_Bitmap(path, Splash_Bitmap)) return false;
    setFixedSize(Splash_Bitmap.size());
    return true;
}

int TSplash_Screen_Form::Show_Until_Timer()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        const QRect desktop = screen->geometry();
        move(desktop.x() + (desktop.width() - width()) / 2, desktop.y() + (desktop.height() - height()) / 2);
    }
    Display_Timer->start();
    return exec();
}

void TSplash_Screen_Form::Display_TimerTimer()
{
    Display_Timer->stop();
    done(1);
}

void TSplash_Screen_Form::keyPressEvent(QKeyEvent* event)
{
    // Keys, Escape included, do not end the greeting early.
    event->accept();
}

void TSplash_Screen_Form::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, Splash_Bitmap);
}
