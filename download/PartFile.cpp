#include "download/PartFile.h"

#include "download/DownloadNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace flk {

namespace {

// A note is one address; anything larger is not ours.
constexpr std::size_t kMaxNoteBytes = 64 * 1024;

}  // namespace

PartFile::~PartFile() { Close(); }

bool PartFile::Open(const std::string& path, bool keep) {
    Close();
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (keep ? 0 : O_TRUNC);
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0) return false;
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0) {
        Close();
        return false;
    }
    size_ = static_cast<std::uint64_t>(end);
    return true;
}

bool PartFile::Write(const char* data, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd_, data, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        data += w;
        n -= static_cast<std::size_t>(w);
        size_ += static_cast<std::uint64_t>(w);
    }
    return true;
}

bool PartFile::Restart() {
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return false;
    size_ = 0;
    return true;
}

bool PartFile::Close() {
    if (fd_ < 0) return true;
    const bool synced = ::fsync(fd_) == 0 || errno == EINVAL;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
}

std::string ReadPartNote(const std::string& target) {
    std::ifstream in(PartNotePath(target), std::ios::binary);
    if (!in) return "";
    std::string url;
    std::getline(in, url);
    if (url.size() > kMaxNoteBytes) return "";
    if (!url.empty() && url.back() == '\r') url.pop_back();
    return url;
}

bool WritePartNote(const std::string& target, const std::string& url) {
    std::ofstream out(PartNotePath(target), std::ios::binary | std::ios::trunc);
    out << url << "\n";
    return static_cast<bool>(out.flush());
}

void RemovePart(const std::string& target) {
    std::remove(PartPath(target).c_str());
    std::remove(PartNotePath(target).c_str());
}

}  // namespace flk
