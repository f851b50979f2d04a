#include "app/widget_text.h"

#include "platform/code_page.h"

namespace quillmere {

QString TextToWidget(std::string_view text) {
  const std::u16string units = DecodeCodePage(text, kCodePageGbk);
  QString widgetText = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
  widgetText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  widgetText.replace(u'\r', u'\n');
  return widgetText;
}

Text WidgetToText(const QString& text) {
  QString withBreaks = text;
  withBreaks.replace(u'\n', QStringLiteral("\r\n"));
  return EncodeCodePage(std::u16string_view(reinterpret_cast<const char16_t*>(withBreaks.utf16()),
                                            static_cast<std::size_t>(withBreaks.size())),
                        kCodePageGbk);
}

}  // namespace quillmere
