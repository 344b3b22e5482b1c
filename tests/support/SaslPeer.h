// Sign-in exchanges for the scripted peer, answered by GNU SASL's server side,
// so that the client's random nonce gets the reply a real server would give.
#pragma once

#include "ScriptedPeer.h"

#include <string>

namespace testpeer {

enum class ScramServer { Honest, ForgedSignature };

// The server's last words in each protocol; POP3's by default.
struct SaslEnd {
    std::string success = "+OK logged in\r\n";
    std::string refused = "-ERR [AUTH] Authentication failed.\r\n";
    std::string cancelled = "-ERR cancelled\r\n";
};

// Answers "AUTH <mechanism> <initial response>" (or "AUTHENTICATE ...", or the
// initial response alone) and the client's final message as a server knowing
// password would, then success to the client's empty response; a forged
// signature draws the client's "*", answered as cancelled.
Script ScramExchange(const std::string& mechanism, const std::string& password,
                     ScramServer server = ScramServer::Honest, const SaslEnd& end = {});

// Answers "AUTH SCRAM-... <initial response>" with a server-first message
// that a client would take, asking for this iteration count.
Step ScramServerFirst(const std::string& iterations);

std::string Base64(const std::string& bytes);

} // namespace testpeer
