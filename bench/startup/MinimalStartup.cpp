// The smallest Qt Widgets program that shows a window of Korumi's size, for comparison. With
// --text it also shows one line of Japanese in Korumi's font: what painting any text costs.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 570);
    if (argc > 1 && QByteArrayView(argv[1]) == "--text") {
        auto* label = new QLabel(QStringLiteral("ここにファイルをドロップ"), &window);
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPixelSize(12);
        label->setFont(font);
        label->adjustSize();
    }
    window.show();
    return application.exec();
}
