#pragma once
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace flk::test {

// A program started by a test, with extra environment variables and its
// output sent to a file. The destructor kills it if it still runs.
class Subprocess {
public:
    Subprocess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
               const std::string& outputFile = "/dev/null");
    ~Subprocess();
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // Its exit status (128 + signal when killed), or -1 while it still runs
    // after `limit`.
    int Wait(std::chrono::milliseconds limit);
    void Signal(int sig);

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

}  // namespace flk::test
