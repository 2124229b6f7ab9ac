#pragma once
#include <functional>
#include <string>
#include <thread>

namespace flk {

// Window messages between programs (the patch request to FLK, traylet's
// commands) as a Unix socket per program in the runtime folder. A message
// is a 32-bit number; the listener answers each with its handler's 32-bit
// result, so a sender may wait for it the way a sent window message does.

// A program or lock name as a file name: blanks and separators become "_".
std::string FileNameOfProgramName(const std::string& name);

// The socket of a program: "<name>.msg" in the runtime folder ("" when
// there is no runtime folder).
std::string ProgramSocketPath(const std::string& runtimeFolder, const std::string& program);

class MessageListener {
public:
    // Called on the listener's thread, one message at a time.
    using Handler = std::function<int(int message)>;
    // Called on the listener's thread once the answer is in the sender's
    // socket: the place for what must not race the answer (ending the
    // process, say).
    using Answered = std::function<void(int message, int answer)>;

    MessageListener(const std::string& runtimeFolder, const std::string& program, Handler handler,
                    Answered answered = {});
    ~MessageListener();
    MessageListener(const MessageListener&) = delete;
    MessageListener& operator=(const MessageListener&) = delete;

    // Binds the program's socket and starts listening. A socket file left
    // by a program that is gone is replaced; false when another listener
    // of that program is alive, or on any error.
    bool Start();
    // Stops and joins the listener thread and removes the socket file. From
    // the handler it only asks the thread to end; call it again elsewhere.
    void Stop();
    bool Listening() const { return listenFd_ >= 0; }
    const std::string& Path() const { return path_; }

private:
    void Run();
    void Serve(int fd);
    bool Bind();

    std::string path_;
    Handler handler_;
    Answered answered_;
    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread thread_;
};

// Sends a message number to the program's listener. With answer, waits up
// to timeoutMs for the handler's result. False when no listener took it.
bool SendProgramMessage(const std::string& runtimeFolder, const std::string& program, int message,
                        int* answer = nullptr, int timeoutMs = 2000);

}  // namespace flk
