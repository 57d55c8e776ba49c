// Build tool: renders an SVG icon as a square PNG for the desktop's icon theme.
//   talrendericon IN.svg SIZE OUT.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  bool sizeOk = false;
  const int size = argc == 4 ? QString(argv[2]).toInt(&sizeOk) : 0;
  if (!sizeOk || size <= 0) {
    std::fprintf(stderr, "usage: talrendericon IN.svg SIZE OUT.png\n");
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "talrendericon: %s is no SVG picture that can be drawn\n", argv[1]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  svg.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "talrendericon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
