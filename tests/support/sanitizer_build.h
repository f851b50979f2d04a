#pragma once

// QUILLMERE_ADDRESS_SANITIZER is 1 in a build made with AddressSanitizer (and with it
// LeakSanitizer), else 0, whichever compiler made it.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLMERE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLMERE_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef QUILLMERE_ADDRESS_SANITIZER
#define QUILLMERE_ADDRESS_SANITIZER 0
#endif
