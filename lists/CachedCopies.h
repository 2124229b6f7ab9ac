#pragma once
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

// Which images of a list have their copy in the project's image cache, for
// pages written into the project folder: they show the copy, so they work
// when the site is gone, and keep linking to the original address.
//
// The cache keeps each image under CacheFileName of its address, or
// "stem(n).ext" when that name was taken, and records no more. So a copy
// is used only when its name can belong to this one address: the file is
// there (a plain, non-empty file), no other address of the list has the
// same name, and no "stem(1).ext" shows that another image once did.
// Anything else shows the original, as pages did before.
class CachedCopies {
public:
    // Reads the folder's names once. `addresses`: every image address of the
    // list, selected or not.
    CachedCopies(const std::string& cacheFolder, const std::vector<std::string>& addresses);

    // The copy as an address relative to the project folder, the cache
    // folder's name and the file name percent-encoded ("Images/a%20b.jpg"),
    // or "" when there is no copy that is surely this address's.
    std::string RelativeAddress(std::string_view address) const;

private:
    std::set<std::string> files_;    // plain, non-empty files of the folder
    std::set<std::string> shared_;   // names two addresses of the list share
};

// Bytes of a file name as a relative URL path segment: letters, digits and
// "-._~" stay, every other byte becomes "%XX".
std::string PercentEncodeSegment(std::string_view name);

}  // namespace flk
