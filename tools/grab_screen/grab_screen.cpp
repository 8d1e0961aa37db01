// grab_screen <file.png> [x y width height]: saves the whole screen, or the given rectangle of
// it, for screenshots of the program under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <array>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6) {
        std::fputs("usage: grab_screen <file.png> [x y width height]\n", stderr);
        return 2;
    }
    // A width and height of -1 grab the whole screen.
    std::array<int, 4> rect = {0, 0, -1, -1};
    if (argc == 6) {
        for (size_t i = 0; i < rect.size(); ++i)
            rect[i] = std::atoi(argv[i + 2]);
    }
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(0, rect[0], rect[1], rect[2], rect[3]);
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
