#include "platform/InstanceLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace flk;

TEST(InstanceLock, SecondOwnerWaitsThenFailsUntilReleased) {
    test::TempDir dir;
    auto first = std::make_unique<InstanceLock>(dir.Path(), "FLK MUTEX");
    ASSERT_TRUE(first->Acquire(10));
    InstanceLock second(dir.Path(), "FLK MUTEX");
    EXPECT_FALSE(second.Acquire(10));
    InstanceLock other(dir.Path(), "OTHER MUTEX");
    EXPECT_TRUE(other.Acquire(10));
    first.reset();
    EXPECT_TRUE(second.Acquire(10));
}
