#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace flk {

// Longest base name the cache gives a file (its extension kept).
inline constexpr std::size_t kCacheNameMax = 120;

// The base name an image from url is stored under in the image cache: the
// last path segment, without query and fragment, percent-decoded and cut
// again at "/" and "\" (so an encoded separator cannot smuggle in a path);
// control bytes dropped, the characters <>:"|?* turned into "_", runs of "."
// folded into one, dots and spaces stripped at both ends, cut to
// kCacheNameMax bytes keeping the extension. Never empty, never "." or
// "..", never containing a separator: "image" stands in for nothing left.
std::string CacheFileName(std::string_view url);

// An image on its way into the cache folder. The bytes go to a hidden
// temporary file inside the folder; Keep() gives it its name there, and a
// file that is never kept is removed. Nothing is ever written outside the
// folder. Used by one thread at a time.
class CachedImageFile {
public:
    explicit CachedImageFile(std::string folder);
    ~CachedImageFile();
    CachedImageFile(const CachedImageFile&) = delete;
    CachedImageFile& operator=(const CachedImageFile&) = delete;

    // The first write creates the temporary file; after an error further
    // writes are ignored and Keep() fails.
    void Write(std::string_view bytes);
    bool Ok() const { return ok_; }

    // Moves the file to folder/name; when that name is taken, to
    // "stem(1).ext", "stem(2).ext"... The full path of the kept file, or ""
    // when nothing was written, a write failed or no free name was found.
    // name must be a base name (see CacheFileName).
    std::string Keep(const std::string& name);

private:
    void Discard();

    std::string folder_;
    std::string tempPath_;
    int fd_ = -1;
    bool ok_ = true;
};

}  // namespace flk
