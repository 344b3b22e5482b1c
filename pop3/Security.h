// How an account's conversation is protected on the wire. The numbers are
// the ones stored in the settings file.
#pragma once

#include <cstdint>

enum class Security : int32_t {
    None = 0,     // clear text on port 110, the conversation as it always was
    StartTls = 1, // clear text on port 110 until STLS, then TLS; never without it
    Tls = 2,      // TLS from the first byte, port 995
};

// A number this program did not write is taken for the safe side.
inline Security SecurityFromStored(int32_t stored) {
    switch (stored) {
    case 0:
        return Security::None;
    case 1:
        return Security::StartTls;
    default:
        return Security::Tls;
    }
}

inline uint32_t DefaultPort(Security security) {
    return security == Security::Tls ? 995 : 110;
}
