#include "window_fixture.h"

#include "app/translation_cache.h"
#include "platform/code_page.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace quillmere::test {

Text Gbk(const char* utf8) { return Utf8ToGbk(utf8); }

void ScriptedTranslation::translate(const Text& source, const Text& translation) {
  outcomes_[source] = {Kind::kTranslated, translation};
}

void ScriptedTranslation::answerWithoutResult(const Text& source) {
  outcomes_[source] = {Kind::kNoResult, {}};
}

void ScriptedTranslation::fail(const Text& source, const Text& errorText) {
  outcomes_[source] = {Kind::kFailed, errorText};
}

TranslateFunction ScriptedTranslation::function() {
  return [this](const Text& source, Text& translation, Text& errorText) {
    return run(source, translation, errorText);
  };
}

bool ScriptedTranslation::run(const Text& source, Text& translation, Text& errorText) {
  calls_.push_back(source);
  const auto found = outcomes_.find(source);
  if (found == outcomes_.end()) {
    errorText = "unscripted source: " + source;
    return false;
  }
  switch (found->second.kind) {
    case Kind::kTranslated:
      translation = found->second.text;
      return true;
    case Kind::kNoResult:
      return true;
    case Kind::kFailed:
      errorText = found->second.text;
      return false;
  }
  return false;
}

void WindowTest::SetUp() {
  ClearTranslationCache();
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  QObject::connect(clipboard, &QClipboard::dataChanged, recorder.get(),
                   [this, clipboard] { clipboardWrites << clipboard->text(); });

  window = std::make_unique<MainWindow>(service.function());
  QObject::connect(window->编辑框_翻译展示文本, &EditBox::contentChanged, window.get(),
                   [this] { resultWrites.push_back(window->编辑框_翻译展示文本->readText()); });
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void WindowTest::TearDown() {
  window.reset();
  recorder.reset();
  ClearTranslationCache();
}

void WindowTest::clickInto(EditBox* box) {
  QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
}

void WindowTest::click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

void WindowTest::type(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }

}  // namespace quillmere::test
