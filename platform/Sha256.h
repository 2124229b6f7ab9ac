#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace flk {

// SHA-256 over bytes that arrive in pieces: a body is hashed as it is read,
// never held whole.
class Sha256 {
public:
    Sha256();
    void Add(std::string_view bytes);
    // The digest as 64 lower-case hex digits; the object is spent afterwards.
    std::string HexDigest();

    static std::string Hex(std::string_view bytes);

private:
    void Block(const unsigned char* p);

    std::array<std::uint32_t, 8> state_;
    unsigned char pending_[64];
    std::size_t pendingBytes_ = 0;
    std::uint64_t totalBytes_ = 0;
};

}  // namespace flk
