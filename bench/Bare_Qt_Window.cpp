// A frameless tool window as large as the main window with one row, and nothing else; with
// --label, one line of text in a label as well: the floor for a window that shows text.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::Tool);
    window.setFixedSize(755, 69);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
    {
        auto* label = new QLabel(QStringLiteral("Zentavo Logger"), &window);
        label->setGeometry(8, 8, 700, 16);
    }
    window.show();
    return application.exec();
}
