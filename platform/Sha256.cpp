#include "platform/Sha256.h"

#include <openssl/evp.h>

#include <new>

namespace flk {

void Sha256::Free::operator()(evp_md_ctx_st* ctx) const { EVP_MD_CTX_free(ctx); }

Sha256::Sha256() : ctx_(EVP_MD_CTX_new()) {
    if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1) throw std::bad_alloc();
}

Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::Add(std::string_view bytes) {
    if (ctx_ && !bytes.empty()) EVP_DigestUpdate(ctx_.get(), bytes.data(), bytes.size());
}

std::string Sha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!ctx_ || EVP_DigestFinal_ex(ctx_.get(), digest, &size) != 1) return std::string();
    ctx_.reset();
    return Hex(std::string_view(reinterpret_cast<const char*>(digest), size));
}

std::string Sha256::Hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

}  // namespace flk
