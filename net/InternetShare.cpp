#include "net/InternetShare.h"

#include <curl/curl.h>

namespace flk {

namespace {

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<InternetShare*>(self)->LockData(static_cast<int>(data));
}

void UnlockShare(CURL*, curl_lock_data data, void* self) {
    static_cast<InternetShare*>(self)->UnlockData(static_cast<int>(data));
}

}  // namespace

InternetShare::InternetShare(std::size_t maxIdle) : maxIdle_(maxIdle) {
    // Reference-counted and thread-safe in this libcurl; pairs with the
    // clean-up in the destructor.
    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) return;
    share_ = curl_share_init();
    if (!share_) return;
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &LockShare);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &UnlockShare);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
}

InternetShare::~InternetShare() {
    for (Transfer& t : idle_) Destroy(t);
    idle_.clear();
    if (share_) curl_share_cleanup(share_);
    curl_global_cleanup();
}

void InternetShare::LockData(int data) {
    locks_[static_cast<std::size_t>(data) % locks_.size()].lock();
}

void InternetShare::UnlockData(int data) {
    locks_[static_cast<std::size_t>(data) % locks_.size()].unlock();
}

void InternetShare::Destroy(Transfer& t) {
    if (t.easy) curl_easy_cleanup(t.easy);
    if (t.multi) curl_multi_cleanup(t.multi);
    t = Transfer{};
}

InternetShare::Transfer InternetShare::Acquire(const std::string& origin) {
    {
        std::lock_guard<std::mutex> lock(poolLock_);
        if (!idle_.empty()) {
            std::size_t pick = idle_.size() - 1;  // most recently used
            for (std::size_t i = idle_.size(); i-- > 0;) {
                if (idle_[i].origin == origin) {
                    pick = i;
                    break;
                }
            }
            Transfer t = std::move(idle_[pick]);
            idle_.erase(idle_.begin() + static_cast<std::ptrdiff_t>(pick));
            return t;
        }
    }
    Transfer t;
    t.multi = curl_multi_init();
    t.easy = curl_easy_init();
    if (!t.multi || !t.easy) Destroy(t);
    return t;
}

void InternetShare::Release(Transfer t) {
    if (!t.easy) return;
    std::lock_guard<std::mutex> lock(poolLock_);
    if (idle_.size() >= maxIdle_) {
        Destroy(idle_.front());
        idle_.erase(idle_.begin());
    }
    idle_.push_back(std::move(t));
}

std::size_t InternetShare::IdleCount() const {
    std::lock_guard<std::mutex> lock(poolLock_);
    return idle_.size();
}

}  // namespace flk
