// A frameless tool window as large as the main window with one row, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::Tool);
    window.setFixedSize(755, 69);
    window.show();
    return application.exec();
}
