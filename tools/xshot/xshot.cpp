// xshot FILE: waits until the X display's screen shows something and holds still, then saves it
// as a PNG. Exits 1 when nothing showed within ten seconds.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

namespace {

QImage GrabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// A screen of one colour is the bare root window.
bool ShowsSomething(const QImage& pic) {
    const QRgb first = pic.pixel(0, 0);
    for (int y = 0; y < pic.height(); y += 4)
        for (int x = 0; x < pic.width(); x += 4)
            if (pic.pixel(x, y) != first) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: xshot FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QElapsedTimer clock;
    clock.start();
    // A blinking text cursor alternates between two pictures at the pace of the grabs: a picture
    // seen one or two grabs before holds still too.
    QImage last, beforeLast;
    while (clock.elapsed() < 10000) {
        QThread::msleep(500);
        const QImage pic = GrabScreen();
        if (ShowsSomething(pic) && (pic == last || pic == beforeLast))
            return pic.save(argv[1]) ? 0 : 1;
        beforeLast = last;
        last = pic;
    }
    fprintf(stderr, "xshot: nothing showed on the screen\n");
    return 1;
}
