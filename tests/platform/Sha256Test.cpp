#include "platform/Sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace flk {
namespace {

std::string Digest(const std::string& text, std::size_t chunk) {
    Sha256 h;
    for (std::size_t at = 0; at < text.size(); at += chunk) h.Add(std::string_view(text).substr(at, chunk));
    return h.HexDigest();
}

// The published test vectors, each fed whole and in chunks that cross the
// 64-byte blocks at every offset, so the buffering of a partial block and
// the two padding cases (the length fits the last block, or needs one more)
// are all taken.
TEST(Sha256, KnownVectorsWholeAndInPieces) {
    struct Case {
        std::string text;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrst"
         "nopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    };
    for (const Case& c : cases) {
        for (std::size_t chunk : {std::size_t{1000}, std::size_t{1}, std::size_t{3}, std::size_t{63},
                                  std::size_t{64}, std::size_t{65}}) {
            SCOPED_TRACE("length " + std::to_string(c.text.size()) + ", chunk " + std::to_string(chunk));
            EXPECT_EQ(Digest(c.text, chunk), c.digest);
        }
    }
}

TEST(Sha256, OneMillionAsStreamedInOddPieces) {
    const std::string million(1000000, 'a');
    const char* expected = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
    for (std::size_t chunk : {std::size_t{7}, std::size_t{4093}, std::size_t{65537}}) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(Digest(million, chunk), expected);
    }
    // Pieces of changing size, as a network body arrives.
    Sha256 h;
    std::size_t at = 0, step = 1;
    while (at < million.size()) {
        const std::size_t n = std::min(step, million.size() - at);
        h.Add(std::string_view(million).substr(at, n));
        at += n;
        step = step * 3 % 1021 + 1;
    }
    EXPECT_EQ(h.HexDigest(), expected);
}

// Lengths around the padding boundary: 55 bytes fit the length in their
// block, 56 need another; every length must differ from its neighbours and
// not depend on how it was fed.
TEST(Sha256, PaddingBoundaryLengths) {
    for (std::size_t n : {55u, 56u, 57u, 63u, 64u, 119u, 120u}) {
        const std::string text(n, 'q');
        EXPECT_EQ(Digest(text, n), Digest(text, 1)) << n;
        EXPECT_NE(Digest(text, n), Digest(text + "q", n + 1)) << n;
    }
    EXPECT_EQ(Digest(std::string(56, 'a'), 56),
              "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
}

}  // namespace
}  // namespace flk
