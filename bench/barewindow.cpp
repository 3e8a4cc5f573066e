// The reference of the start-up benchmark: a bare Qt window of the bar's size, a frameless
// 1280 x 26 widget shown at once. It does what any Qt program must do before its first window
// is on the screen, and nothing else; pindrel_startup_bench starts it the way it starts the bar.
// With "--text" it also shows one captioned button, so that it pays for starting the font system
// as every window that draws text does: a second, informative reference.

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(0, 0, 1280, 26);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto *caption = new QPushButton(QStringLiteral("Documents 1"), &window);
        caption->setGeometry(50, 1, 100, 24);
    }
    window.show();
    return QApplication::exec();
}
