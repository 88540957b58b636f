// Reads a picture file with Qt's QImageReader and nothing more: the yardstick that the import
// benchmark compares the core's bitmap reader with, process against process.
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vemurion_qt_read PICTURE\n", stderr);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "%s\n", reader.errorString().toLocal8Bit().constData());
        return 1;
    }
    std::printf("%d x %d\n", image.width(), image.height());
    return 0;
}
