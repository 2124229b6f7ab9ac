#pragma once
#include <string>

namespace flk {

// What the sites list does with the addresses a search found.
enum class HandOverMode {
    ViewList,       // show them
    CheckSites,     // show them and check each site
    StartCrawling,  // take them over and start crawling at once
};

// The crawler side's entry for the addresses found by a search run: the
// query, every accepted address followed by ";", and what to do with them.
// Called on the UI thread.
class FoundAddressReceiver {
public:
    virtual ~FoundAddressReceiver() = default;
    virtual void TakeFoundAddresses(const std::string& query, const std::string& addresses,
                                    HandOverMode mode) = 0;
};

}  // namespace flk
