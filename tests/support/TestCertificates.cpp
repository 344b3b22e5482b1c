#include "TestCertificates.h"

#include <arpa/inet.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <stdexcept>

namespace testpki {

namespace {

EVP_PKEY* NewKey() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    if (key == nullptr) {
        throw std::runtime_error("TestAuthority: cannot make a key");
    }
    return key;
}

void AddExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    if (extension == nullptr || X509_add_ext(certificate, extension, -1) != 1) {
        throw std::runtime_error("TestAuthority: bad extension " + value);
    }
    X509_EXTENSION_free(extension);
}

// Built entry by entry, as the text form of the extension cannot hold a NUL.
void AddAlternativeNames(X509* certificate, const std::vector<std::string>& names) {
    GENERAL_NAMES* entries = sk_GENERAL_NAME_new_null();
    for (const std::string& text : names) {
        std::array<unsigned char, 16> address{};
        int size = ::inet_pton(AF_INET, text.c_str(), address.data()) == 1    ? 4
                   : ::inet_pton(AF_INET6, text.c_str(), address.data()) == 1 ? 16
                                                                              : 0;
        ASN1_STRING* value =
            ASN1_STRING_type_new(size > 0 ? V_ASN1_OCTET_STRING : V_ASN1_IA5STRING);
        ASN1_STRING_set(value, size > 0 ? static_cast<const void*>(address.data()) : text.data(),
                        size > 0 ? size : static_cast<int>(text.size()));
        GENERAL_NAME* entry = GENERAL_NAME_new();
        GENERAL_NAME_set0_value(entry, size > 0 ? GEN_IPADD : GEN_DNS, value);
        sk_GENERAL_NAME_push(entries, entry);
    }
    if (X509_add1_ext_i2d(certificate, NID_subject_alt_name, entries, 0, X509V3_ADD_DEFAULT) != 1) {
        throw std::runtime_error("TestAuthority: bad alternative names");
    }
    GENERAL_NAMES_free(entries);
}

// Signed by issuer/issuerKey, or by itself when they are null.
X509* MakeCertificate(const std::string& commonName, EVP_PKEY* key, X509* issuer,
                      EVP_PKEY* issuerKey, const CertificateRequest& request, long serial) {
    X509* certificate = X509_new();
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), serial);
    X509_gmtime_adj(X509_getm_notBefore(certificate), 86400L * request.validFromDays);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 86400L * request.validUntilDays);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Tarvo tests"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName.data()),
                               static_cast<int>(commonName.size()), -1, 0);
    X509_set_issuer_name(certificate, issuer != nullptr ? X509_get_subject_name(issuer) : name);
    X509* signer = issuer != nullptr ? issuer : certificate;
    if (request.names.empty()) {
        AddExtension(certificate, signer, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(certificate, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        if (!request.commonNameOnly) {
            AddAlternativeNames(certificate, request.names);
        }
        AddExtension(certificate, signer, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(certificate, signer, NID_ext_key_usage, "serverAuth");
    }
    AddExtension(certificate, signer, NID_subject_key_identifier, "hash");
    if (X509_sign(certificate, issuerKey != nullptr ? issuerKey : key, EVP_sha256()) == 0) {
        throw std::runtime_error("TestAuthority: cannot sign");
    }
    return certificate;
}

void WritePem(const std::string& path, X509* certificate, EVP_PKEY* key) {
    FILE* file = std::fopen(path.c_str(), "w");
    bool written = file != nullptr &&
                   (certificate == nullptr || PEM_write_X509(file, certificate) == 1) &&
                   (key == nullptr ||
                    PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr) == 1);
    if (file == nullptr || std::fclose(file) != 0 || !written) {
        throw std::runtime_error("TestAuthority: cannot write " + path);
    }
}

} // namespace

struct TestAuthority::Keys {
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;
};

TestAuthority::TestAuthority() : m_keys(new Keys) {
    std::string folder = "/tmp/tarvo-pki-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        throw std::runtime_error("TestAuthority: cannot create a folder");
    }
    m_folder = folder;
    std::filesystem::permissions(m_folder, std::filesystem::perms(0755));
    m_keys->key = NewKey();
    CertificateRequest authority;
    authority.validUntilDays = 365;
    m_keys->certificate =
        MakeCertificate("Tarvo Test Authority", m_keys->key, nullptr, nullptr, authority, 1);
    m_authorityFile = m_folder + "/authority.pem";
    WritePem(m_authorityFile, m_keys->certificate, nullptr);
}

TestAuthority::~TestAuthority() {
    X509_free(m_keys->certificate);
    EVP_PKEY_free(m_keys->key);
    delete m_keys;
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

IssuedCertificate TestAuthority::Issue(const CertificateRequest& request) {
    const std::string base = m_folder + "/server" + std::to_string(++m_issued);
    EVP_PKEY* key = NewKey();
    const std::string commonName = request.names.empty() ? "server" : request.names.front();
    X509* certificate = request.selfSigned
                            ? MakeCertificate(commonName, key, nullptr, nullptr, request, 100)
                            : MakeCertificate(commonName, key, m_keys->certificate, m_keys->key,
                                              request, 100 + m_issued);
    IssuedCertificate issued{base + ".crt", base + ".key"};
    WritePem(issued.certificateFile, certificate, nullptr);
    WritePem(issued.keyFile, nullptr, key);
    X509_free(certificate);
    EVP_PKEY_free(key);
    return issued;
}

} // namespace testpki
