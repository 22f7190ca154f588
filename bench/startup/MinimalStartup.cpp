// The smallest Qt Widgets program that shows a window of Korumi's size, for comparison.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 570);
    window.show();
    return application.exec();
}
