#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "runtime/win/owned.h"

namespace brindor {
namespace {

std::vector<int> closed;

struct CountedTraits {
    using Handle = int;
    static int invalid() { return 0; }
    static void close(int handle) { closed.push_back(handle); }
};
using Counted = Owned<CountedTraits>;

TEST(Owned, EveryHandleClosesOnceWhateverHandsItOn) {
    closed.clear();
    {
        Counted a(1);
        Counted b(std::move(a));
        EXPECT_FALSE(a);
        Counted c(2);
        c = std::move(b); // 2 goes, 1 stays
        EXPECT_EQ(c.get(), 1);
        c.reset(3);
        Counted d(4);
        EXPECT_EQ(d.release(), 4); // no longer ours
        Counted none;
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 1, 3}));
}

} // namespace
} // namespace brindor
