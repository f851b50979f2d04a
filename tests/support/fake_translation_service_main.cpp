// Runs the loopback stand-in for the translation service until stdin closes, so the tool can be
// tried without service credentials:
//   quillmere_fake_service 18080 &
//   cmake -B build-local -DQUILLMERE_ENDPOINT=http://127.0.0.1:18080/api/trans/vip/translate
#include "support/fake_translation_service.h"
#include "translate/settings.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
  const int port = argc > 1 ? std::atoi(argv[1]) : 0;
  quillmere::test::FakeTranslationService service(quillmere::settings::kAppId,
                                                  quillmere::settings::kSecretKey, port);
  const std::string endpoint = service.endpoint();
  if (endpoint.empty()) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("%s\n", endpoint.c_str());
  std::fflush(stdout);
  for (std::string line; std::getline(std::cin, line);) {
  }
  return 0;
}
