#pragma once

#include "app/main_window.h"
#include "app/translate_function.h"
#include "platform/text.h"

#include <QObject>
#include <QStringList>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace quillmere::test {

// Code page 936 form of a UTF-8 literal.
Text Gbk(const char* utf8);

// A translation routine whose answers the test scripts by source text. It records the source
// of every call.
class ScriptedTranslation {
 public:
  enum class Kind { kTranslated, kNoResult, kFailed };
  struct Outcome {
    Kind kind;
    Text text;  // the translation, or the error text
  };

  void translate(const Text& source, const Text& translation);
  // Success without a translation, as for the service's "54000" answer.
  void answerWithoutResult(const Text& source);
  void fail(const Text& source, const Text& errorText);

  TranslateFunction function();
  const std::vector<Text>& calls() const { return calls_; }
  void forgetCalls() { calls_.clear(); }

 private:
  bool run(const Text& source, Text& translation, Text& errorText);

  std::map<Text, Outcome> outcomes_;
  std::vector<Text> calls_;
};

// A shown window over a scripted routine, with an empty translation cache, recording every
// clipboard write and every change of the result box.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Gives the box the focus the way the user does, by clicking it.
  void clickInto(EditBox* box);
  void click(QWidget* control);
  // Types into the box that has the focus.
  void type(const QString& keys);

  ScriptedTranslation service;
  std::unique_ptr<QObject> recorder = std::make_unique<QObject>();
  std::unique_ptr<MainWindow> window;
  QStringList clipboardWrites;
  std::vector<Text> resultWrites;
};

}  // namespace quillmere::test
