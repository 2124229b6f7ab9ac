#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace flk {

// The file a download grows in ("name.part"): opened to continue at its end
// or from nothing, written in blocks, cut back to empty when a server sends
// the whole file again. Not inherited by started programs.
class PartFile {
public:
    PartFile() = default;
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // Opens (creating it) at its end when `keep`, else emptied. False when
    // the file cannot be created.
    bool Open(const std::string& path, bool keep);
    bool IsOpen() const { return fd_ >= 0; }
    std::uint64_t Size() const { return size_; }
    // Writes every byte; false on a write error (a full disk).
    bool Write(const char* data, std::size_t n);
    bool Restart();
    // Flushes and closes; false when the data may not all be stored.
    bool Close();

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The address kept beside a partial download ("" when there is none).
std::string ReadPartNote(const std::string& target);
bool WritePartNote(const std::string& target, const std::string& url);
// Removes the partial file and its note (missing ones are fine).
void RemovePart(const std::string& target);

}  // namespace flk
