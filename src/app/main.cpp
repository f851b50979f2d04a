#include "app/main_window.h"
#include "app/translation_cache.h"
#include "translate/translator.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setDesktopFileName(QStringLiteral("quillmere"));
  quillmere::RegisterCacheCleanUp();
  // Before the window shows, so the first keystroke does not pay for the set-up.
  quillmere::InitializeTranslation();
  quillmere::MainWindow window(
      [](const quillmere::Text& source, quillmere::Text& translation, quillmere::Text& errorText) {
        return quillmere::TranslateText(source, translation, errorText);
      });
  window.show();
  return app.exec();
}
