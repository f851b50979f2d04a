#include "support/test_certificate.h"

#include <openssl/asn1.h>
#include <openssl/objects.h>
#include <openssl/x509v3.h>

namespace quillmere::test {
namespace {

struct ExtensionFree {
  void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};
struct ObjectFree {
  void operator()(ASN1_OBJECT* object) const { ASN1_OBJECT_free(object); }
};
struct OctetStringFree {
  void operator()(ASN1_OCTET_STRING* string) const { ASN1_OCTET_STRING_free(string); }
};
using Extension = std::unique_ptr<X509_EXTENSION, ExtensionFree>;

bool addExtension(X509* certificate, Extension extension) {
  return extension != nullptr && X509_add_ext(certificate, extension.get(), -1) == 1;
}

Extension clientUseExtension(X509* certificate) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
  char value[] = "clientAuth";
  return Extension(X509V3_EXT_conf_nid(nullptr, &context, NID_ext_key_usage, value));
}

Extension unknownCriticalExtension() {
  std::unique_ptr<ASN1_OBJECT, ObjectFree> object(OBJ_txt2obj("1.3.6.1.4.1.55555.7.1", 1));
  std::unique_ptr<ASN1_OCTET_STRING, OctetStringFree> data(ASN1_OCTET_STRING_new());
  static const unsigned char kNull[] = {0x05, 0x00};
  if (object == nullptr || data == nullptr || ASN1_OCTET_STRING_set(data.get(), kNull, 2) != 1) {
    return nullptr;
  }
  return Extension(X509_EXTENSION_create_by_OBJ(nullptr, object.get(), 1, data.get()));
}

bool describe(X509* certificate, EVP_PKEY* key, const CertificateOptions& options) {
  X509_NAME* name = X509_get_subject_name(certificate);
  const auto* commonName = reinterpret_cast<const unsigned char*>(options.commonName.c_str());
  return X509_set_version(certificate, 2) == 1 &&
         ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1) == 1 &&
         X509_gmtime_adj(X509_getm_notBefore(certificate), options.validFrom.count()) != nullptr &&
         X509_gmtime_adj(X509_getm_notAfter(certificate), options.validUntil.count()) != nullptr &&
         X509_set_pubkey(certificate, key) == 1 &&
         X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, commonName, -1, -1, 0) == 1 &&
         X509_set_issuer_name(certificate, name) == 1;
}

}  // namespace

TestCertificate makeSelfSignedCertificate(const CertificateOptions& options) {
  TestCertificate made{std::unique_ptr<X509, X509Free>(X509_new()),
                       std::unique_ptr<EVP_PKEY, EvpPkeyFree>(EVP_EC_gen("P-256"))};
  X509* certificate = made.certificate.get();
  bool ok = certificate != nullptr && made.key != nullptr &&
            describe(certificate, made.key.get(), options);
  if (ok && options.clientUseOnly) ok = addExtension(certificate, clientUseExtension(certificate));
  if (ok && options.unknownCriticalExtension) {
    ok = addExtension(certificate, unknownCriticalExtension());
  }
  if (!ok || X509_sign(certificate, made.key.get(), EVP_sha256()) == 0) return {};
  return made;
}

}  // namespace quillmere::test
