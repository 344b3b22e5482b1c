// What a server says it can do, from its reply to CAPA (RFC 2449). A server
// that does not know CAPA has answered nothing, and is spoken to as RFC 1939
// alone allows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct Pop3Capabilities {
    // A capability list is a dozen short lines; more is a server to stop
    // listening to, not a list to keep growing.
    static constexpr std::size_t kMaxLines = 100;
    static constexpr std::size_t kMaxBytes = 16 * 1024;

    bool answered = false;          // the server accepted CAPA
    std::vector<std::string> lines; // as received, dot-unstuffed
    bool stls = false;
    bool pipelining = false;
    bool uidl = false;
    bool top = false;
    bool user = false;
    std::vector<std::string> sasl; // the mechanisms of the SASL line, upper case
    bool utf8 = false;             // RFC 6856

    // Takes one line of the list; false when it would pass a bound.
    bool Add(const std::string& line);

private:
    std::size_t m_bytes = 0;
};
