#include "lists/ImageCache.h"

#include "platform/Paths.h"
#include "platform/PercentEncoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace flk {

namespace {

// A name cannot be found in a folder of this many "stem(n).ext" files.
constexpr int kMaxNameTries = 1000;
// An extension longer than this is no extension worth keeping whole.
constexpr std::size_t kMaxExtension = 16;

std::string_view LastSegment(std::string_view s) {
    const std::size_t cut = s.find_last_of("/\\");
    return cut == std::string_view::npos ? s : s.substr(cut + 1);
}

bool IsEdge(char c) { return c == '.' || c == ' '; }

void StripEdges(std::string& s) {
    std::size_t b = 0;
    while (b < s.size() && IsEdge(s[b])) ++b;
    std::size_t e = s.size();
    while (e > b && IsEdge(s[e - 1])) --e;
    s = s.substr(b, e - b);
}

// Drops a UTF-8 sequence that a cut left incomplete at the end.
void DropBrokenTail(std::string& s) {
    std::size_t n = 0;  // continuation bytes at the end
    while (n < s.size() && n < 3 && (static_cast<unsigned char>(s[s.size() - 1 - n]) & 0xC0) == 0x80) ++n;
    if (n == s.size()) {
        s.resize(s.size() - n);
        return;
    }
    const unsigned char lead = static_cast<unsigned char>(s[s.size() - 1 - n]);
    std::size_t need = 0;
    if (lead >= 0xF0) need = 3;
    else if (lead >= 0xE0) need = 2;
    else if (lead >= 0xC0) need = 1;
    if (lead >= 0xC0 && n < need) s.resize(s.size() - n - 1);
}

}  // namespace

std::string CacheFileName(std::string_view url) {
    std::string_view u = url;
    u = u.substr(0, u.find('#'));
    u = u.substr(0, u.find('?'));
    const std::string decoded = PercentDecode(LastSegment(u));
    const std::string_view segment = LastSegment(decoded);

    std::string name;
    name.reserve(segment.size());
    for (char c : segment) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) continue;
        if (std::strchr("<>:\"|?*", c)) c = '_';  // never '\0' here
        if (c == '.' && !name.empty() && name.back() == '.') continue;
        name += c;
    }
    StripEdges(name);

    if (name.size() > kCacheNameMax) {
        std::string ext;
        const std::size_t dot = name.rfind('.');
        if (dot != std::string::npos && dot > 0 && name.size() - dot <= kMaxExtension) ext = name.substr(dot);
        std::string stem = name.substr(0, kCacheNameMax - ext.size());
        DropBrokenTail(stem);
        StripEdges(stem);
        name = stem + ext;
        if (stem.empty()) name = "image" + ext;
    }
    if (name.empty()) name = "image";
    return name;
}

CachedImageFile::CachedImageFile(std::string folder) : folder_(std::move(folder)) {}

CachedImageFile::~CachedImageFile() { Discard(); }

void CachedImageFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    tempPath_.clear();
}

void CachedImageFile::Write(std::string_view bytes) {
    if (!ok_ || bytes.empty()) return;
    if (fd_ < 0) {
        // A dot name: the lists never show it, and the cache is emptied of
        // leftovers at the next start.
        std::string pattern = JoinPath(folder_, ".part-XXXXXX");
        std::vector<char> path(pattern.begin(), pattern.end());
        path.push_back('\0');
        fd_ = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd_ < 0) {
            ok_ = false;
            return;
        }
        tempPath_ = path.data();
        (void)::fchmod(fd_, 0644);
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok_ = false;
            Discard();
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string CachedImageFile::Keep(const std::string& name) {
    if (!ok_ || fd_ < 0 || name.empty() || name.find_first_of("/\\") != std::string::npos ||
        name == "." || name == "..")
        return {};
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!closed) {
        Discard();
        return {};
    }
    std::size_t dot = name.rfind('.');
    if (dot == 0) dot = std::string::npos;
    const std::string stem = name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int i = 0; i < kMaxNameTries; ++i) {
        const std::string candidate = i == 0 ? name : stem + "(" + std::to_string(i) + ")" + ext;
        const std::string path = JoinPath(folder_, candidate);
        // The name is claimed first, so two workers never take the same
        // one; O_NOFOLLOW and O_EXCL never follow a planted link.
        const int claim = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (claim < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        ::close(claim);
        if (::rename(tempPath_.c_str(), path.c_str()) != 0) {
            ::unlink(path.c_str());
            break;
        }
        tempPath_.clear();
        return path;
    }
    Discard();
    return {};
}

}  // namespace flk
