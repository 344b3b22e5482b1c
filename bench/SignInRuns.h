// The benchmark's sign-in runs: round trips and time from connecting to a
// conversation ready for STAT, over a link with a 20 ms round trip.
#pragma once

namespace testpki {
struct IssuedCertificate;
}

// USER/PASS, Automatic at a server without SASL, SCRAM-SHA-256 (each against
// Dovecot) and OAUTHBEARER over TLS (against a scripted peer, as Dovecot's
// OAuth 2.0 needs a token service), beside USER/PASS over TLS to that peer.
void RunSignInBench(const testpki::IssuedCertificate& certificate);
