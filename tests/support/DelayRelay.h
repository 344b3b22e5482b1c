// A TCP relay on loopback that stands for a distant server: every chunk is
// held a set time in each direction before it is passed on, and what crosses
// is counted. Serves one connection at a time, on a thread of its own.
#pragma once

#include "LoopbackListener.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class DelayRelay {
public:
    struct Counts {
        uint64_t toServer = 0; // bytes
        uint64_t toClient = 0;
        // Times the client waited for the server: the connection's set-up,
        // then every time it spoke again after the server had.
        uint64_t roundTrips = 0;
    };

    // hideCapabilities turns the client's CAPA into a command the server
    // does not know, so the client speaks as to a server of RFC 1939 alone.
    DelayRelay(uint16_t serverPort, std::chrono::milliseconds oneWay,
               bool hideCapabilities = false);
    ~DelayRelay();
    DelayRelay(const DelayRelay&) = delete;
    DelayRelay& operator=(const DelayRelay&) = delete;

    std::string Address() const;
    // What crossed since the last call.
    Counts TakeCounts();
    // The same once the connection being relayed, if any, has ended (within
    // 5 s): a client that closes right after its last words may have left
    // before the relay read them.
    Counts TakeCountsOnceEnded();
    // The bytes the client sent since the last call, as they left it.
    std::string TakeClientBytes();

private:
    void Serve();
    void Relay(int client, int server);

    uint16_t m_serverPort;
    std::chrono::milliseconds m_oneWay;
    bool m_hideCapabilities;
    LoopbackListener m_listener;
    std::atomic<bool> m_stopping = false;
    std::atomic<bool> m_relaying = false;
    std::mutex m_mutex;
    Counts m_counts;
    std::string m_clientBytes;
    std::thread m_thread;
};
