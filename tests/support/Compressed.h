#pragma once
#include <cstddef>
#include <string>

namespace flk::test {

// Bodies as a server sends them with Content-Encoding gzip or br.
std::string Gzip(const std::string& text);
std::string Brotli(const std::string& text);
// A gzip body of prefix followed by `zeros` zero bytes, made without ever
// holding the expanded body (a decompression bomb).
std::string GzipBomb(const std::string& prefix, std::size_t zeros);

}  // namespace flk::test
