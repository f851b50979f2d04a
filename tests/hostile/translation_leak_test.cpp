// Translation after translation leaves nothing behind. In the sanitizer build LeakSanitizer
// looks for lost blocks; in every build the memory in use must stop growing once the first
// translations have filled the caches (converters, the connection cache), which also catches
// memory that stays reachable but is never given back.
#include "platform/code_page.h"
#include "support/fake_translation_service.h"
#include "support/sanitizer_build.h"
#include "support/scripted_server.h"
#include "translate/settings.h"
#include "translate/translator.h"

#include <gtest/gtest.h>

#include <string>

#if QUILLMERE_ADDRESS_SANITIZER
#include <sanitizer/lsan_interface.h>
// GCC ships no header for the sanitizer allocator's statistics; the runtime has the function.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace quillmere {
namespace {

using test::FakeTranslationService;

constexpr int kTranslations = 10000;
constexpr int kWarmUp = 1000;

std::size_t bytesInUse() {
#if QUILLMERE_ADDRESS_SANITIZER
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

// Every path out of the request in turn: a translation each way, the two kinds of service
// error, an answer only the lenient reader takes, an answer that is not JSON, and no answer.
std::string answerFor(const FakeTranslationService::Request& request) {
  switch (std::stoi(request.fields[4].second) % 6) {
    case 0:
      return FakeTranslationService::errorAnswer("54000", "busy");
    case 1:
      return FakeTranslationService::errorAnswer("52003", "未授权用户");
    case 2:
      return R"({"trans_result":[{"src":"x","dst":"it\'s \x41 \u4f60"}]})";
    case 3:
      return "<html>502 Bad Gateway</html>";
    default:
      return FakeTranslationService::dictionaryAnswer(request);
  }
}

TEST(TranslationLeaks, TenThousandTranslationsLeaveNothingBehind) {
  FakeTranslationService service(settings::kAppId, settings::kSecretKey);
  service.answerWith(&answerFor);
  const std::string endpoint = service.endpoint();
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(test::refusingPort()) + "/api/trans/vip/translate";
  const Text sources[] = {"hello", Utf8ToGbk("获取用户名"), ""};

  std::size_t afterWarmUp = 0;
  int answered = 0;
  int failures = 0;
  for (int i = 0; i < kTranslations; ++i) {
    const bool unreachable = i % 50 == 49;
    Text translation;
    Text errorText;
    if (!TranslateText(
            sources[i % 3], translation, errorText,
            {unreachable ? refused : endpoint, settings::kAppId, settings::kSecretKey})) {
      ++failures;
    }
    // The service's record of requests would grow by itself; it is checked and dropped.
    for (const auto& request : service.requests()) {
      ASSERT_TRUE(request.problems.empty()) << request.form;
      ++answered;
    }
    service.forgetRequests();
    if (i + 1 == kWarmUp) afterWarmUp = bytesInUse();
  }
  const std::size_t atEnd = bytesInUse();

  EXPECT_EQ(answered, kTranslations / 50 * 49);
  EXPECT_GT(failures, kTranslations / 50);
  RecordProperty("bytes_in_use_growth", std::to_string(static_cast<long long>(atEnd) -
                                                       static_cast<long long>(afterWarmUp)));
  EXPECT_LT(atEnd, afterWarmUp + (64 << 10));
#if QUILLMERE_ADDRESS_SANITIZER
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

}  // namespace
}  // namespace quillmere
