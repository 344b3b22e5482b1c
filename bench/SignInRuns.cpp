#include "SignInRuns.h"

#include "DelayRelay.h"
#include "DovecotServer.h"
#include "Pop3Connection.h"
#include "ScriptedPeer.h"
#include "TestCertificates.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using namespace std::chrono_literals;
constexpr int kRuns = 5;

// The best of kRuns sign-ins, each through a relay of its own.
void TimeSignIn(const char* label, uint16_t port, Security security, SignInMethod method,
                const std::string& secret) {
    double best = 1e9;
    uint64_t roundTrips = 0;
    std::string mechanism = "(failed)";
    for (int run = 0; run < kRuns; ++run) {
        DelayRelay relay(port, 10ms);
        CPop3Connection conversation;
        conversation.SetSecurity(security);
        auto start = std::chrono::steady_clock::now();
        int connected =
            conversation.Connect(relay.Address(), "signin", SignIn{method, secret, {}, {}}, 110);
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        roundTrips = relay.TakeCounts().roundTrips;
        conversation.Close();
        if (connected == 1) {
            best = std::min(best, seconds);
            mechanism =
                conversation.SignedInWith().empty() ? "USER/PASS" : conversation.SignedInWith();
        } else {
            std::printf("  (%s failed: %s)\n", label, conversation.FailureReason().c_str());
        }
    }
    std::printf("  %-44s %8.3f s  %3llu round trips  signed in with %s\n", label, best,
                static_cast<unsigned long long>(roundTrips), mechanism.c_str());
}

} // namespace

void RunSignInBench(const testpki::IssuedCertificate& certificate) {
    using namespace testpeer;
    DovecotServer plain(std::nullopt, "plain");
    DovecotServer scram(std::nullopt, "plain scram-sha-256");
    for (DovecotServer* server : {&plain, &scram}) {
        server->AddUser("signin", "signin-pw");
    }
    const Step tls = AcceptTls(certificate.certificateFile, certificate.keyFile);
    const Step bye = Reply("+OK bye\r\n");
    const Script bearer{tls,
                        Send("+OK ready\r\n"),
                        Reply("+OK\r\nUSER\r\nSASL OAUTHBEARER XOAUTH2\r\n.\r\n"),
                        Reply("+OK\r\n"),
                        Reply("+OK\r\nUIDL\r\nPIPELINING\r\n.\r\n"),
                        bye};
    const Script password{tls,
                          Send("+OK ready\r\n"),
                          Reply("+OK\r\n"),
                          Reply("+OK\r\n"),
                          Reply("+OK\r\nUIDL\r\nPIPELINING\r\n.\r\n"),
                          bye};
    ScriptedPeer bearerPeer(std::vector<Script>(kRuns, bearer));
    ScriptedPeer passwordPeer(std::vector<Script>(kRuns, password));

    std::printf("Sign-in to a conversation ready for STAT, 20 ms round trip, best of %d:\n", kRuns);
    TimeSignIn("Password only, Dovecot", plain.Port(), Security::None, SignInMethod::PasswordOnly,
               "signin-pw");
    TimeSignIn("Automatic, Dovecot without SASL to use", plain.Port(), Security::None,
               SignInMethod::Automatic, "signin-pw");
    TimeSignIn("Automatic, Dovecot with SCRAM-SHA-256", scram.Port(), Security::None,
               SignInMethod::Automatic, "signin-pw");
    TimeSignIn("Password only over SSL/TLS, scripted peer", passwordPeer.Port(), Security::Tls,
               SignInMethod::PasswordOnly, "signin-pw");
    TimeSignIn("OAuth 2.0 over SSL/TLS, scripted peer", bearerPeer.Port(), Security::Tls,
               SignInMethod::OAuth2, "vF9dft4qmTc2Nvb3RlckBhbHRhdmlzdGEuY29tCg==");
    std::puts("");
}
