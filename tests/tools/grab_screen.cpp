// Saves a picture of the whole X screen: grab_screen OUTPUT.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 3;
    const QPixmap picture = screen->grabWindow(0);
    return picture.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 4;
}
