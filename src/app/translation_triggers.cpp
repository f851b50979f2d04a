#include "app/translation_triggers.h"

#include "app/main_window.h"
#include "app/translation_cache.h"
#include "platform/code_page.h"

namespace quillmere {

Text QueryErrorText(const Text& errorText) {
  static const Text kOpening = Utf8ToGbk("执行查询时发生错误！\r\n错误信息：");
  static const Text kClosing = Utf8ToGbk("\r\n如果频繁出现此问题,请向作者反馈提交。");
  return kOpening + errorText + kClosing;
}

void MainWindow::translateAndShow(CacheUse form) {
  const Text source = 编辑框_欲翻译文本->readText();
  Text translation;
  Text errorText;
  if (!translate_(source, translation, errorText)) {
    编辑框_翻译展示文本->writeText(QueryErrorText(errorText));
    return;
  }
  编辑框_翻译展示文本->writeText(translation);
  if (form == CacheUse::kCaching) {
    g_lastSourceText = 编辑框_欲翻译文本->readText();
    g_lastTranslation = translation;
  }
}

void MainWindow::onTranslateClicked() { translateAndShow(CacheUse::kNonCaching); }

void MainWindow::onSourceTextChanged() {
  if (!选择框_内容改变自动翻译->isChecked()) return;
  if (CompareText(编辑框_欲翻译文本->readText(), g_lastSourceText) == 0) return;
  translateAndShow(CacheUse::kCaching);
}

void MainWindow::onResultGotFocus() {
  translateAndShow(CacheUse::kCaching);
  编辑框_翻译展示文本->selectWholeText();
}

}  // namespace quillmere
