#include "app/GoThread.h"

namespace flk {

GoThread::GoThread(SearchFlowContext context, GoRequest request, Ended ended)
    : WorkerThread(kGoThreadClass), context_(context), request_(std::move(request)), ended_(std::move(ended)) {
    context_.stop = &StopFlag();
}

GoThread::~GoThread() {
    RequestStop();
    Join();
}

void GoThread::Run() {
    std::string detail;
    const GoResult result = RunGo(context_, request_, detail);
    if (ended_) ended_(result, detail);
}

}  // namespace flk
