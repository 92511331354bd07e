#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Zorva程序"));
    window.resize(594, 408);
    window.show();
    return app.exec();
}
