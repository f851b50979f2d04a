#pragma once

#include "app/edit_box.h"
#include "app/translate_function.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace quillmere {

// The tool's one window. The controls are public so that the handlers' effects can be driven
// and observed through the real widgets.
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(TranslateFunction translate, QWidget* parent = nullptr);

  // Declared in the order in which the window creates them.
  QPushButton* const 按钮_全大写;
  QPushButton* const 按钮_全小写;
  QPushButton* const 按钮_下划线;
  QPushButton* const 按钮_帕斯卡;
  QPushButton* const 按钮_小驼峰;
  QCheckBox* const 选择框_窗口置顶;
  QCheckBox* const 选择框_自动复制;
  QCheckBox* const 选择框_内容改变自动翻译;
  QPushButton* const 按钮_开始翻译;
  EditBox* const 编辑框_翻译展示文本;
  QLabel* const 透明标签1;
  EditBox* const 编辑框_欲翻译文本;

 private:
  void setUpFrame();
  void setUpControls();
  void connectHandlers();

  void onCreated();
  void setAlwaysOnTop(bool on);
  void onAlwaysOnTopClicked();
  void onResultTextChanged();

  enum class CacheUse { kCaching, kNonCaching };
  // Translates the source box's text and shows the translation or the error text in the result
  // box; the caching form also remembers a success in the translation cache.
  void translateAndShow(CacheUse form);
  void onTranslateClicked();
  void onSourceTextChanged();
  void onResultGotFocus();

  // Makes `translation` (the cached translation) belong to the source box's text, translating
  // again when the source has changed since, and splits it at single spaces into `words`.
  // Returns the number of words.
  int RefreshTranslationWords(Text& translation, TextList& words);
  using WordChange = Text (*)(const Text& word);
  // Shows the cached translation's words, changed and joined without separators.
  void showIdentifier(WordChange firstWord, WordChange laterWords);
  void onUpperCaseClicked();
  void onLowerCaseClicked();
  void onUnderscoreClicked();
  void onPascalCaseClicked();
  void onCamelCaseClicked();

  TranslateFunction translate_;
};

}  // namespace quillmere
