// The reference for the screenshot benchmark: the least a Qt program does to paint one line of
// text into an image and write it as PNG.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    QGuiApplication app(argc, argv);
    QImage img(std::atoi(argv[2]), std::atoi(argv[3]), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QFont f(QStringLiteral("Inter"));
        f.setPixelSize(14);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(20, 40, QStringLiteral("One line of text in an offscreen image"));
    }
    return img.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
