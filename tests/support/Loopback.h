// The IPv4 loopback address at a port; 0 lets the kernel choose one. The
// test servers and relays listen and connect nowhere else.
#pragma once

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>

inline sockaddr_in Loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}
