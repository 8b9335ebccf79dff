#include <gtest/gtest.h>

#include <algorithm>

#include <sys/resource.h>

#include "platform/descriptorlimit.h"

namespace {

TEST(DescriptorLimit, TheSoftLimitIsRaisedAsFarAsTheHardOneAllowsAndNeverLowered)
{
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    if (saved.rlim_max < 600)
        GTEST_SKIP() << "the hard limit is too low to lower and raise the soft one";
    rlimit low = saved;
    low.rlim_cur = 512;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);

    RaiseDescriptorLimit(100000);
    rlimit raised{};
    ::getrlimit(RLIMIT_NOFILE, &raised);
    RaiseDescriptorLimit(100);
    rlimit kept{};
    ::getrlimit(RLIMIT_NOFILE, &kept);
    ::setrlimit(RLIMIT_NOFILE, &saved);

    EXPECT_EQ(raised.rlim_cur, std::min<rlim_t>(100000, saved.rlim_max));
    EXPECT_EQ(kept.rlim_cur, raised.rlim_cur);
}

}  // namespace
