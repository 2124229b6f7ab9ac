#include "support/Compressed.h"

#include <brotli/encode.h>
#include <zlib.h>

#include <stdexcept>
#include <vector>

namespace flk::test {

namespace {

// Feeds pieces into one gzip stream; next() gives the next piece and
// false at the end.
template <class Next>
std::string GzipStream(Next next) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out;
    std::vector<unsigned char> buffer(64 * 1024);
    std::string piece;
    bool more = true;
    while (more) {
        more = next(piece);
        z.next_in = reinterpret_cast<Bytef*>(piece.data());
        z.avail_in = static_cast<uInt>(piece.size());
        do {
            z.next_out = buffer.data();
            z.avail_out = static_cast<uInt>(buffer.size());
            deflate(&z, more ? Z_NO_FLUSH : Z_FINISH);
            out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return out;
}

}  // namespace

std::string Gzip(const std::string& text) {
    bool given = false;
    return GzipStream([&](std::string& piece) {
        piece = given ? "" : text;
        given = true;
        return false;
    });
}

std::string GzipBomb(const std::string& prefix, std::size_t zeros) {
    constexpr std::size_t kPiece = 1u << 20;
    bool first = true;
    return GzipStream([&](std::string& piece) {
        if (first) {
            piece = prefix;
            first = false;
            return zeros > 0;
        }
        const std::size_t n = std::min(zeros, kPiece);
        piece.assign(n, '\0');
        zeros -= n;
        return zeros > 0;
    });
}

std::string Brotli(const std::string& text) {
    std::string out(BrotliEncoderMaxCompressedSize(text.size()) + 16, '\0');
    std::size_t size = out.size();
    if (!BrotliEncoderCompress(BROTLI_DEFAULT_QUALITY, BROTLI_DEFAULT_WINDOW, BROTLI_DEFAULT_MODE, text.size(),
                               reinterpret_cast<const std::uint8_t*>(text.data()), &size,
                               reinterpret_cast<std::uint8_t*>(out.data())))
        throw std::runtime_error("BrotliEncoderCompress");
    out.resize(size);
    return out;
}

}  // namespace flk::test
