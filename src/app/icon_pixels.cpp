// Build-time tool: writes the window icon's pixels as the window takes them, 96 x 96 pixels of
// premultiplied 32-bit ARGB in this machine's byte order, row after row, so that the tool shows
// its icon at start-up without decoding an image.
//
// Usage: quillmere_icon_pixels <icon.png> <pixels file>

#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <icon.png> <pixels file>\n", argv[0]);
    return 2;
  }
  const QImage icon =
      QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (icon.size() != QSize(96, 96)) {
    std::fprintf(stderr, "%s: not an image of 96 x 96 pixels\n", argv[1]);
    return 1;
  }
  QFile out(QString::fromLocal8Bit(argv[2]));
  const auto size = static_cast<qint64>(icon.sizeInBytes());
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(reinterpret_cast<const char*>(icon.constBits()), size) != size) {
    std::fprintf(stderr, "%s: cannot write\n", argv[2]);
    return 1;
  }
  return 0;
}
