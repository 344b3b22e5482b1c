// Certificates made when a test runs, so none is committed to expire: a
// private authority, and server certificates it issues (or that sign
// themselves), written as PEM files into a temporary folder. Point
// verification at the authority with SSL_CERT_FILE=AuthorityFile().
#pragma once

#include <string>
#include <vector>

namespace testpki {

struct IssuedCertificate {
    std::string certificateFile; // PEM, the server's certificate
    std::string keyFile;         // PEM, its private key
};

struct CertificateRequest {
    // DNS names and IP addresses, each in the subject alternative names;
    // any bytes, a NUL included. The first is also the common name.
    std::vector<std::string> names;
    int validFromDays = -1; // relative to now
    int validUntilDays = 30;
    bool selfSigned = false;
    bool commonNameOnly = false; // no alternative names at all
};

class TestAuthority {
public:
    TestAuthority();
    ~TestAuthority();
    TestAuthority(const TestAuthority&) = delete;
    TestAuthority& operator=(const TestAuthority&) = delete;

    const std::string& AuthorityFile() const { return m_authorityFile; }
    IssuedCertificate Issue(const CertificateRequest& request);

private:
    struct Keys;
    std::string m_folder;
    std::string m_authorityFile;
    Keys* m_keys;
    int m_issued = 0;
};

} // namespace testpki
