#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Quillon");
    QMainWindow window;
    window.show();
    return app.exec();
}
