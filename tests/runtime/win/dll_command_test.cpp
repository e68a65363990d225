#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/win/dll_command.h"

using namespace brindor;

namespace {
enum Entry { kAddThree, kAddThreeByOrdinal, kMixWords, kTickCount, kTickCountNoLibrary };

const DllCommand kTable[] = {
    {"probe_dll.dll", "add_three"},   {"probe_dll.dll", "#7"},   {"probe_dll.dll", "mix_words"},
    {"kernel32.dll", "GetTickCount"}, {nullptr, "GetTickCount"},
};

class DllCommandTest : public testing::Test {
  protected:
    void SetUp() override { register_dll_commands(kTable, sizeof kTable / sizeof kTable[0]); }
    void TearDown() override { release_dll_command_modules(); }
};
} // namespace

TEST_F(DllCommandTest, ResolvesByNameAndByOrdinalFromTheProgramsDirectory) {
    EXPECT_EQ(call_dll_command<int>(kAddThree, 1, 2, 3), 6);
    EXPECT_EQ(call_dll_command<int>(kAddThreeByOrdinal, 10, 20, 30), 60);
    EXPECT_EQ(resolve_dll_command(kAddThree), resolve_dll_command(kAddThreeByOrdinal));
}

TEST_F(DllCommandTest, PassesEightByteArgumentsAndReturnsEdxEax) {
    EXPECT_EQ(call_dll_command<int64_t>(kMixWords, 7, 250.0, 5), 7000000255LL);
}

TEST_F(DllCommandTest, EntriesWithoutALibraryAreFoundInTheSystemLibraries) {
    EXPECT_NE(call_dll_command<DWORD>(kTickCountNoLibrary), 0u);
    EXPECT_NE(call_dll_command<DWORD>(kTickCount), 0u);
}

TEST(DllCallTrampoline, ReportsAStackThatDoesNotMatch) {
    HMODULE module = LoadLibraryW(L"probe_dll.dll");
    ASSERT_NE(module, nullptr);
    void* add = reinterpret_cast<void*>(GetProcAddress(module, "add_three"));
    void* cdecl_sum = reinterpret_cast<void*>(GetProcAddress(module, "cdecl_sum"));
    uint32_t words[3] = {1, 2, 3};
    int32_t difference = 99;
    EXPECT_EQ(static_cast<int>(brindor_call_checked(add, words, 3, &difference)), 6);
    EXPECT_EQ(difference, 0);
    // Declared with one argument too many: the callee pops 12 bytes of 16.
    uint32_t four[4] = {1, 2, 3, 4};
    brindor_call_checked(add, four, 4, &difference);
    EXPECT_EQ(difference, -4);
    // A cdecl function pops nothing.
    EXPECT_EQ(static_cast<int>(brindor_call_checked(cdecl_sum, words, 2, &difference)), 3);
    EXPECT_EQ(difference, -8);
    FreeLibrary(module);
}
