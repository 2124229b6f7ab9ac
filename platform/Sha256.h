#pragma once
#include <memory>
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace flk {

// SHA-256 over bytes that arrive in pieces: a body is hashed as it is read,
// never held whole. The work is the crypto library's, which uses the
// processor's SHA instructions where it has them: hashing every medium is
// otherwise the dearest step of a crawl.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(Sha256&&) noexcept;
    Sha256& operator=(Sha256&&) noexcept;

    void Add(std::string_view bytes);
    // The digest as 64 lower-case hex digits; the object is spent afterwards.
    std::string HexDigest();

    static std::string Hex(std::string_view bytes);

private:
    struct Free {
        void operator()(evp_md_ctx_st* ctx) const;
    };
    std::unique_ptr<evp_md_ctx_st, Free> ctx_;
};

}  // namespace flk
