#include <gtest/gtest.h>

#include <cstring>

#include "runtime/core/bytes.h"
#include "runtime/core/memory.h"
#include "runtime/core/text_array.h"

using namespace brindor;

namespace {
const struct {
    int32_t dimensions, count;
    char bytes[6];
} kConstantBytes = {1, 6, {'h', 'e', 'l', 'l', 'o', '!'}};

const struct {
    int32_t dimensions, count;
    const char* elements[2];
} kConstantArray = {1, 2, {"first", "second"}};

char g_writable[] = "writable";
} // namespace

TEST(Memory, ConstantsAreRecognisedAndHeapBlocksAreNot) {
    EXPECT_TRUE(is_constant_block("literal"));
    EXPECT_TRUE(is_constant_block(&kConstantBytes));
    EXPECT_TRUE(is_constant_block(&kConstantArray));
    EXPECT_FALSE(is_constant_block(g_writable));
    void* heap = allocate(16);
    EXPECT_FALSE(is_constant_block(heap));
    int local = 0;
    EXPECT_FALSE(is_constant_block(&local));
    release(heap);
}

TEST(Memory, ReleasingNullOrAConstantDoesNothing) {
    const char* literal = "still here";
    release(nullptr);
    release(const_cast<char*>(literal));
    EXPECT_STREQ(literal, "still here");
}

TEST(Memory, ReallocatingAConstantByteSetCopiesItsLeadingBytes) {
    void* block = const_cast<void*>(static_cast<const void*>(&kConstantBytes));
    auto* grown = static_cast<int32_t*>(reallocate(block, 8 + 64));
    ASSERT_NE(static_cast<void*>(grown), block);
    EXPECT_FALSE(is_constant_block(grown));
    EXPECT_EQ(grown[1], 6);
    EXPECT_EQ(std::memcmp(grown + 2, "hello!", 6), 0);
    EXPECT_EQ(kConstantBytes.count, 6);
    release(grown);

    auto* shrunk = static_cast<char*>(reallocate(block, 10));
    EXPECT_EQ(std::memcmp(shrunk + 8, "he", 2), 0);
    release(shrunk);
}

TEST(Memory, HeapBlocksKeepTheirContentsWhenResized) {
    auto* block = static_cast<char*>(allocate(4));
    std::memcpy(block, "abcd", 4);
    block = static_cast<char*>(reallocate(block, 100000));
    EXPECT_EQ(std::memcmp(block, "abcd", 4), 0);
    release(block);
}

TEST(Memory, MakeArrayWritableCopiesOnlyConstants) {
    void* array = const_cast<void*>(static_cast<const void*>(&kConstantArray));
    make_array_writable(sizeof(char*), &array);
    ASSERT_NE(array, static_cast<const void*>(&kConstantArray));
    auto* header = static_cast<ArrayHeader*>(array);
    EXPECT_EQ(header->count, 2);
    EXPECT_STREQ(reinterpret_cast<char**>(header + 1)[1], "second");

    void* again = array;
    make_array_writable(sizeof(char*), &again);
    EXPECT_EQ(again, array);
    release(array);
}

TEST(Memory, AppendingToAConstantArrayLeavesTheConstantUnchanged) {
    TextArray list =
        TextArray::adopt(const_cast<ArrayHeader*>(reinterpret_cast<const ArrayHeader*>(&kConstantArray)));
    list.append(Text("third"));
    list.set(1, Text("changed"));
    EXPECT_EQ(list.count(), 3);
    EXPECT_STREQ(list.at(1), "changed");
    EXPECT_STREQ(list.at(3), "third");
    EXPECT_EQ(kConstantArray.count, 2);
    EXPECT_STREQ(kConstantArray.elements[0], "first");
}

TEST(Memory, ConstantBytesAreCopiedBeforeTheyChange) {
    Bytes bytes =
        Bytes::adopt(const_cast<ArrayHeader*>(reinterpret_cast<const ArrayHeader*>(&kConstantBytes)));
    bytes.append("??", 2);
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(std::memcmp(bytes.data(), "hello!??", 8), 0);
    EXPECT_EQ(std::memcmp(kConstantBytes.bytes, "hello!", 6), 0);
}
