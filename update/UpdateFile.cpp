#include "update/UpdateFile.h"

#include "platform/Paths.h"
#include "platform/TextModeFile.h"
#include "update/WordCoding.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace flk {

namespace {

// Reads at most limit + 1 bytes, so an oversized file is recognised without
// reading it all.
UpdateFile::ReadResult ReadCapped(const std::string& path, std::size_t limit, std::string& out) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return UpdateFile::ReadResult::Missing;
    UpdateFile::ReadResult result = UpdateFile::ReadResult::Ok;
    char buf[65536];
    for (;;) {
        const std::size_t want = std::min(sizeof buf, limit + 1 - out.size());
        ssize_t n = ::read(fd, buf, want);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            result = UpdateFile::ReadResult::Missing;  // unreadable counts as absent
            break;
        }
        out.append(buf, static_cast<std::size_t>(n));
        if (out.size() > limit) {
            result = UpdateFile::ReadResult::TooLarge;
            break;
        }
    }
    ::close(fd);
    if (result != UpdateFile::ReadResult::Ok) out.clear();
    return result;
}

}  // namespace

UpdateFile::UpdateFile(std::string projectFolder) : folder_(std::move(projectFolder)) {}

void UpdateFile::SetProjectFolder(std::string folder) {
    std::lock_guard<std::mutex> lock(folderMutex_);
    folder_ = std::move(folder);
}

std::string UpdateFile::ProjectFolder() const {
    std::lock_guard<std::mutex> lock(folderMutex_);
    return folder_;
}

std::string UpdateFile::Path() const { return JoinPath(ProjectFolder(), kFileName); }

UpdateFile::ReadResult UpdateFile::Read(std::string& bytes) {
    const std::string path = Path();
    std::lock_guard<std::mutex> lock(fileMutex_);
    return ReadCapped(path, kMaxBytes, bytes);
}

bool UpdateFile::Store(const std::string& text, const std::function<bool()>& stillWanted) {
    if (text.size() > kMaxBytes) return false;
    // Checked on the bytes as written (every LF gains a CR), so whatever is
    // stored can be read back.
    const std::string bytes = ToTextModeBytes(EncodeAdultBlock(text));
    if (bytes.size() > kMaxBytes) return false;
    const std::string path = Path();
    std::lock_guard<std::mutex> lock(fileMutex_);
    if (stillWanted && !stillWanted()) return false;
    return WriteBinaryFile(path, bytes);
}

}  // namespace flk
