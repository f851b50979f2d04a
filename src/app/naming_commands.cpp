#include "app/naming_commands.h"

#include "app/main_window.h"
#include "app/translation_cache.h"
#include "app/translation_triggers.h"

namespace quillmere {

Text UpperWord(const Text& word) {
  Text changed = word;
  return CharUpper(changed);
}

Text LowerWord(const Text& word) {
  Text changed = word;
  return CharLower(changed);
}

Text CapitalizeWord(const Text& word) {
  return UpperCase(TextLeft(word, 1)) + TextMid(word, 2, TextLength(word));
}

int MainWindow::RefreshTranslationWords(Text& translation, TextList& words) {
  if (CompareText(编辑框_欲翻译文本->readText(), g_lastSourceText) != 0) {
    const Text source = 编辑框_欲翻译文本->readText();
    Text errorText;
    // `translation` is the cache itself: a success writes straight into it, a failure or an
    // answer without a result leaves the previous translation there.
    if (translate_(source, translation, errorText)) {
      编辑框_翻译展示文本->writeText(translation);
      g_lastSourceText = 编辑框_欲翻译文本->readText();
    } else {
      编辑框_翻译展示文本->writeText(QueryErrorText(errorText));
    }
  }
  words = SplitText(translation, " ");
  return static_cast<int>(words.size());
}

void MainWindow::showIdentifier(WordChange firstWord, WordChange laterWords) {
  TextList words;
  const int count = RefreshTranslationWords(g_lastTranslation, words);
  Text identifier;
  for (int i = 1; i <= count; ++i) {
    const Text& word = words[static_cast<std::size_t>(i - 1)];
    identifier += i == 1 ? firstWord(word) : laterWords(word);
  }
  编辑框_翻译展示文本->writeText(identifier);
}

void MainWindow::onUpperCaseClicked() { showIdentifier(UpperWord, UpperWord); }

void MainWindow::onLowerCaseClicked() { showIdentifier(LowerWord, LowerWord); }

void MainWindow::onPascalCaseClicked() { showIdentifier(CapitalizeWord, CapitalizeWord); }

void MainWindow::onCamelCaseClicked() { showIdentifier(LowerWord, CapitalizeWord); }

void MainWindow::onUnderscoreClicked() {
  编辑框_翻译展示文本->writeText(ReplaceText(g_lastTranslation, " ", "_"));
}

}  // namespace quillmere
