#pragma once

#include <curl/curl.h>

namespace quillmere {

// Lets a TLS connection through despite four certificate problems: an unknown or untrusted
// issuer, a certificate not meant for a server, a name that does not match the host, and a
// certificate not yet valid or expired. Every other verification failure still fails it.
void acceptListedCertificateProblems(CURL* easy);

}  // namespace quillmere
