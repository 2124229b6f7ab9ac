#include "platform/WorkerThread.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

using namespace flk;

namespace {

struct Throwing : WorkerThread {
    std::function<void()> body;
    explicit Throwing(std::function<void()> b) : WorkerThread("Throwing"), body(std::move(b)) {}
    ~Throwing() override { Join(); }
    void Run() override { body(); }
};

}  // namespace

// An exception that leaves a worker's run would end the whole program.
TEST(WorkerThread, AnExceptionEndsOnlyTheWorker) {
    const std::function<void()> bodies[] = {
        [] { throw std::bad_alloc(); },
        [] { throw std::runtime_error("library failure"); },
        [] { throw 42; },
    };
    for (const auto& body : bodies) {
        Throwing worker(body);
        ASSERT_TRUE(worker.Start());
        worker.Join();
        EXPECT_FALSE(worker.Active());
    }
}
