#include "app/main_window.h"
#include "app/translation_cache.h"
#include "platform/text.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setDesktopFileName(QStringLiteral("quillmere"));
  quillmere::RegisterCacheCleanUp();
  // TODO(merge): pass quillmere::TranslateText from "translate/translator.h" instead.
  quillmere::MainWindow window(
      [](const quillmere::Text&, quillmere::Text&, quillmere::Text& errorText) {
        errorText = "no translation service in this build";
        return false;
      });
  window.show();
  return app.exec();
}
