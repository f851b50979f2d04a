#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <chrono>
#include <memory>
#include <string>

namespace quillmere::test {

struct X509Free {
  void operator()(X509* certificate) const { X509_free(certificate); }
};
struct EvpPkeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};

struct CertificateOptions {
  std::string commonName = "quillmere.test";
  std::chrono::seconds validFrom{-3600};  // relative to now
  std::chrono::seconds validUntil{86400};
  bool clientUseOnly = false;             // extended key usage for clients, not servers
  bool unknownCriticalExtension = false;  // an extension no verifier can understand
};

struct TestCertificate {
  std::unique_ptr<X509, X509Free> certificate;
  std::unique_ptr<EVP_PKEY, EvpPkeyFree> key;
};

// A fresh P-256 key and a self-signed certificate for it, made in memory; both empty when
// OpenSSL fails.
TestCertificate makeSelfSignedCertificate(const CertificateOptions& options = {});

}  // namespace quillmere::test
