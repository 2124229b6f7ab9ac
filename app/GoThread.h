#pragma once
#include "app/SearchFlow.h"
#include "platform/WorkerThread.h"

#include <functional>
#include <string>

namespace flk {

inline constexpr char kGoThreadClass[] = "GoThread";

// Runs the search flow of one "Go" beside the window, so the window keeps
// answering while engines and the guide are asked. Its stop flag ends the
// search; `ended` is called on this thread with the outcome.
class GoThread : public WorkerThread {
public:
    using Ended = std::function<void(GoResult result, const std::string& detail)>;

    GoThread(SearchFlowContext context, GoRequest request, Ended ended);
    ~GoThread() override;

protected:
    void Run() override;

private:
    SearchFlowContext context_;
    GoRequest request_;
    Ended ended_;
};

}  // namespace flk
