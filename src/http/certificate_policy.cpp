#include "http/certificate_policy.h"

#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

namespace quillmere {
namespace {

bool isListedProblem(int error) {
  switch (error) {
    // Unknown certificate authority.
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_UNTRUSTED:
    // Name does not match the host, where OpenSSL checks it rather than libcurl.
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
    // Wrong certificate usage.
    case X509_V_ERR_INVALID_PURPOSE:
    // Not yet valid or expired.
    case X509_V_ERR_CERT_NOT_YET_VALID:
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return true;
    default:
      return false;
  }
}

// Clearing the error, not only passing over it, keeps the final verification result clean,
// which libcurl checks again after the handshake.
int verifyCertificate(int preverified, X509_STORE_CTX* context) {
  if (preverified == 1) return 1;
  if (!isListedProblem(X509_STORE_CTX_get_error(context))) return 0;
  X509_STORE_CTX_set_error(context, X509_V_OK);
  return 1;
}

CURLcode installVerifier(CURL*, void* sslContext, void*) {
  SSL_CTX_set_verify(static_cast<SSL_CTX*>(sslContext), SSL_VERIFY_PEER, &verifyCertificate);
  return CURLE_OK;
}

}  // namespace

void acceptListedCertificateProblems(CURL* easy) {
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  // The host name check is libcurl's own, apart from OpenSSL's chain verification.
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &installVerifier);
}

}  // namespace quillmere
