#include <gtest/gtest.h>

#include <utility>

#include "runtime/core/bytes.h"
#include "runtime/core/text_array.h"
#include "runtime/core/value.h"

using namespace brindor;

TEST(Text, LiteralsAreSharedUntilWritten) {
    const char* literal = "constant";
    Text a(literal);
    EXPECT_EQ(a.c_str(), literal);
    Text b = a;
    EXPECT_EQ(b.c_str(), literal);
    b.data()[0] = 'C';
    EXPECT_STREQ(b.c_str(), "Constant");
    EXPECT_STREQ(literal, "constant");
}

TEST(Text, CopiesAndMovesOwnTheirBlocks) {
    char buffer[] = "heap";
    Text a(buffer);
    EXPECT_NE(a.c_str(), buffer);
    Text b = a;
    EXPECT_NE(b.c_str(), a.c_str());
    Text c = std::move(a);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(c, "heap");
    c = c; // self-assignment keeps the value
    EXPECT_EQ(c, "heap");
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Text("", 0).c_str()[0], '\0');
}

TEST(TextArray, GrowsAndKeepsItsElements) {
    TextArray list;
    for (int i = 0; i < 1000; ++i) {
        char s[8];
        snprintf(s, sizeof s, "%d", i);
        list.append(Text(s));
    }
    EXPECT_EQ(element_count(list), 1000);
    EXPECT_STREQ(list.at(1), "0");
    EXPECT_STREQ(list.at(1000), "999");
    TextArray copy = list;
    list.clear();
    EXPECT_EQ(copy.count(), 1000);
    EXPECT_STREQ(copy.at(500), "499");
    EXPECT_EQ(element_count(TextArray()), 0);
}

// On Windows the report is a message box; the end-to-end driver answers it there.
#ifndef _WIN32
TEST(TextArray, SubscriptOutsideTheArrayIsFatal) {
    TextArray list;
    list.append(Text("only"));
    EXPECT_EXIT(list.at(0), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(list.at(2), testing::ExitedWithCode(255), "");
}
#endif

TEST(Value, RecordsRoundTrip) {
    EXPECT_TRUE(Value().omitted());
    EXPECT_EQ(Value::integer(-7).as_integer(), -7);
    EXPECT_EQ(Value::integer(-7).type, kTypeInteger);
    EXPECT_EQ(Value::real(0.125).as_double(), 0.125);
    EXPECT_EQ(Value::long_integer(-5000000000LL).as_long(), -5000000000LL);
    EXPECT_EQ(Value::single(1.5f).as_float(), 1.5f);
    const char* s = "x";
    EXPECT_EQ(Value::text(s).as_text(), s);
    EXPECT_EQ(Value::text(s).type, 0x80000004u);
}
