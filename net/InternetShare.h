#pragma once
#include "net/HostSlots.h"

#include <array>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

typedef void CURL;
typedef void CURLSH;
typedef void CURLM;

namespace flk {

// What every internet session of the process shares, the way the Windows
// internet functions pool their state per process: one DNS cache and one
// TLS session cache (a libcurl share handle), and a pool of idle transfer
// handles that keep their keep-alive connections, so a new session per page
// does not mean a new TCP and TLS handshake per page.
//
// Connections are pooled by handle rather than put into the share handle:
// this libcurl documents its shared connection cache as unsafe between
// concurrent threads, while a handle used by one request at a time is safe.
//
// One object per application context, created before and destroyed after
// every request that uses it. All members are thread-safe.
class InternetShare {
public:
    // A multi handle with its one easy handle; the multi handle owns the
    // live connections the transfer leaves behind.
    struct Transfer {
        CURLM* multi = nullptr;
        CURL* easy = nullptr;
        std::string origin;  // "scheme://server:port" of its last request
    };

    explicit InternetShare(std::size_t maxIdle = 16);
    ~InternetShare();
    InternetShare(const InternetShare&) = delete;
    InternetShare& operator=(const InternetShare&) = delete;

    bool Valid() const { return share_ != nullptr; }
    CURLSH* Handle() const { return share_; }

    // An idle transfer, preferring one that last talked to this origin;
    // a fresh one when none is idle. {nullptr, nullptr} when libcurl fails.
    Transfer Acquire(const std::string& origin);
    // Gives a transfer back; beyond the idle limit it is cleaned up.
    void Release(Transfer t);

    std::size_t IdleCount() const;

    // The requests running per host, for requests that keep to a per-host
    // limit (InternetOptions::maxPerHost).
    HostSlots& Slots() { return slots_; }

    // For the share handle's lock callbacks.
    void LockData(int data);
    void UnlockData(int data);

private:
    static void Destroy(Transfer& t);

    CURLSH* share_ = nullptr;
    std::array<std::mutex, 16> locks_;  // one per libcurl lock kind
    mutable std::mutex poolLock_;
    std::vector<Transfer> idle_;
    std::size_t maxIdle_;
    HostSlots slots_;
};

}  // namespace flk
