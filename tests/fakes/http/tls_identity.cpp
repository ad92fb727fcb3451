#include "tests/fakes/http/tls_identity.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace lumoset::fake {

namespace {

void require(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("TLS identity: ") + what);
    }
}

void addExtension(X509* certificate, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    require(extension != nullptr, "extension");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

}  // namespace

TlsIdentity::TlsIdentity() {
    key_ = EVP_EC_gen("P-256");
    require(key_ != nullptr, "key");

    certificate_ = X509_new();
    X509_set_version(certificate_, 2);
    unsigned char serial[8];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7F;
    BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate_));
    BN_free(number);
    X509_gmtime_adj(X509_getm_notBefore(certificate_), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate_), 24 * 3600);
    X509_NAME* name = X509_get_subject_name(certificate_);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
    X509_set_issuer_name(certificate_, name);
    X509_set_pubkey(certificate_, key_);
    addExtension(certificate_, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1");
    require(X509_sign(certificate_, key_, EVP_sha256()) > 0, "signature");

    context_ = SSL_CTX_new(TLS_server_method());
    require(context_ != nullptr, "context");
    require(SSL_CTX_use_certificate(context_, certificate_) == 1 &&
                SSL_CTX_use_PrivateKey(context_, key_) == 1,
            "context identity");
}

TlsIdentity::~TlsIdentity() {
    SSL_CTX_free(context_);
    X509_free(certificate_);
    EVP_PKEY_free(key_);
}

std::string TlsIdentity::certificatePem() const {
    BIO* memory = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(memory, certificate_);
    char* data = nullptr;
    const long length = BIO_get_mem_data(memory, &data);
    std::string pem(data, static_cast<std::size_t>(length));
    BIO_free(memory);
    return pem;
}

}  // namespace lumoset::fake
