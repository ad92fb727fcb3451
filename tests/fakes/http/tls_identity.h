// A self-signed server certificate and its key, made when constructed, for the TLS servers.
#pragma once

#include <memory>
#include <string>

typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;
typedef struct ssl_ctx_st SSL_CTX;

namespace lumoset::fake {

class TlsIdentity {
  public:
    // A fresh P-256 key and a certificate for "localhost" and 127.0.0.1, valid from an hour
    // ago for a day, signed by itself, so no client trusts it unless told to.
    TlsIdentity();
    ~TlsIdentity();
    TlsIdentity(const TlsIdentity&) = delete;
    TlsIdentity& operator=(const TlsIdentity&) = delete;

    X509* certificate() const { return certificate_; }
    EVP_PKEY* key() const { return key_; }
    // The certificate in PEM form, for a client that should trust it.
    std::string certificatePem() const;
    // A server context that presents this identity.
    SSL_CTX* serverContext() const { return context_; }

  private:
    EVP_PKEY* key_ = nullptr;
    X509* certificate_ = nullptr;
    SSL_CTX* context_ = nullptr;
};

}  // namespace lumoset::fake
