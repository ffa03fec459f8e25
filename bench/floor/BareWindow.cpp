// The floor of a Qt Widgets program's start-up on a display: one empty window, nothing else.
// scripts/measure launches it beside Tavrolin and the other ruler.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(200, 100);
    window.show();
    return QApplication::exec();
}
