// The port a POP3 server is reached at when its name gives none.
#pragma once

#include "Account.h"

#include <cstdint>

inline uint32_t DefaultPort(Security security) {
    return security == Security::Tls ? 995 : 110;
}
