// The text operations against their literal reference versions on random GBK-like texts, so
// that both build trees check what the fuzz target checks natively.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/core/text_ops.h"
#include "text_ops_reference.h"
#include "text_array_members.h"

using namespace brindor;

namespace {

std::string random_text(std::mt19937& random, size_t max_length) {
    static const char kAlphabet[] = {'a', 'A', ',', ' ', '\xA1', '\xA1', '\xB0', '\x81', '\x40', 'x'};
    std::string s(random() % (max_length + 1), ' ');
    for (char& c : s)
        c = kAlphabet[random() % sizeof kAlphabet];
    return s;
}

} // namespace

TEST(TextOpsRandom, AgreeWithTheReference) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 20000; ++round) {
        std::string text = random_text(random, 24);
        std::string sought = random_text(random, round % 7 ? 3 : 20);
        std::string replacement = random_text(random, 2);
        int start = static_cast<int>(random() % 30) - 3;
        int count = static_cast<int>(random() % 5) - 1;
        bool flag = random() & 1;
        const char* t = text.c_str();
        SCOPED_TRACE(testing::Message() << '"' << text << "\" / \"" << sought << "\" start " << start);

        ASSERT_EQ(find_text(t, sought.c_str(), start, flag), reference::find(text, sought, start, flag));
        ASSERT_EQ(find_text_reverse(t, sought.c_str(), start, flag),
                  reference::find_reverse(text, sought, start, flag));
        ASSERT_EQ(find_text_reverse(t, sought.c_str()),
                  reference::find_reverse(text, sought, kWholeText, false));
        ASSERT_EQ(members(split_text(t, sought.c_str(), count)), reference::split(text, sought, count));
        ASSERT_EQ(members(split_text(t, sought.c_str())), reference::split(text, sought, kNoLimit));
        ASSERT_EQ(
            std::string(replace_text(t, sought.c_str(), replacement.c_str(), start, count, flag).c_str()),
            reference::replace(text, sought, replacement, start, count, flag));
        ASSERT_EQ(std::string(trim(t).c_str()), reference::trim(text));
    }
}
