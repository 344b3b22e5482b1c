// Sign-in exchanges for the scripted peer, answered by GNU SASL's server side,
// so that the client's random nonce gets the reply a real server would give.
#pragma once

#include "ScriptedPeer.h"

#include <string>

namespace testpeer {

enum class ScramServer { Honest, ForgedSignature };

// Answers "AUTH <mechanism> <initial response>" and the client's final
// message as a server knowing password would, then "+OK" to the client's
// empty response; a forged signature draws the client's "*", answered "-ERR".
Script ScramExchange(const std::string& mechanism, const std::string& password,
                     ScramServer server = ScramServer::Honest);

// Answers "AUTH SCRAM-... <initial response>" with a server-first message
// that a client would take, asking for this iteration count.
Step ScramServerFirst(const std::string& iterations);

std::string Base64(const std::string& bytes);

} // namespace testpeer
