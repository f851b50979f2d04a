#include "app/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace quillmere {
namespace {

constexpr int kPointSize = 9;

// Chinese faces to fall back on where the first choice is not installed; the last one ships
// with Debian as fonts-wqy-microhei.
QStringList cjkFallbacks() {
  return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
          QStringLiteral("WenQuanYi Micro Hei")};
}

}  // namespace

QFont DefaultGuiFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setFamilies(QStringList{font.family()} + cjkFallbacks());
  font.setPointSize(kPointSize);
  return font;
}

QFont YaheiFont() {
  QFont font;
  font.setFamilies(QStringList{QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei")} +
                   cjkFallbacks());
  font.setPointSize(kPointSize);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace quillmere
