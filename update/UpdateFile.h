#pragma once
#include <functional>
#include <mutex>
#include <string>

namespace flk {

// The stored update data: "data.txt" in the project folder, and the update
// file lock that keeps the update thread's write apart from the readers. The
// crawler window owns one for the whole run; readers and the update thread
// share it.
class UpdateFile {
public:
    static constexpr const char* kFileName = "data.txt";
    // Update data is a small document; anything larger is not update data
    // and is neither read nor stored, so a hostile answer cannot fill memory.
    static constexpr std::size_t kMaxBytes = 1 << 20;

    enum class ReadResult { Ok, Missing, TooLarge };

    explicit UpdateFile(std::string projectFolder);
    UpdateFile(const UpdateFile&) = delete;
    UpdateFile& operator=(const UpdateFile&) = delete;

    // The project folder may change while workers run (Project "New..." and
    // "Load..."), so it is read and set under a lock of its own.
    void SetProjectFolder(std::string folder);
    std::string ProjectFolder() const;
    std::string Path() const;

    // Reads the file's bytes under the update file lock (at most kMaxBytes).
    ReadResult Read(std::string& bytes);

    // Stores downloaded text: the adult-keyword block is encoded, then, under
    // the update file lock and only while stillWanted() says so, the file is
    // replaced (text mode, through a temporary file). False when nothing was
    // stored: too large, no longer wanted, or the write failed.
    bool Store(const std::string& text, const std::function<bool()>& stillWanted);

private:
    mutable std::mutex folderMutex_;
    std::string folder_;
    std::mutex fileMutex_;
};

}  // namespace flk
