#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "window_test_fixture.h"
#include "window_test_support.h"

namespace brindor::window_tests {
namespace {

using testing::window_text;

TEST(Controls, ButtonClickRunsItsHandler) {
    int before = g_clicks;
    SendMessageW(child(kButton), BM_CLICK, 0, 0);
    EXPECT_EQ(g_clicks, before + 1);
}

TEST(Controls, LabelFontFromItsDefinition) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(child(kBoldLabel), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(font && GetObjectW(font, sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfCharSet, 134);
}

// Types `typed` character by character, then takes the focus away.
std::wstring type_and_leave(const wchar_t* typed) {
    HWND edit = child(kEdit);
    SetWindowTextW(edit, L"");
    for (const wchar_t* c = typed; *c; ++c)
        SendMessageW(edit, WM_CHAR, *c, 1);
    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    return window_text(edit);
}

TEST(IntegerEditBox, TypingFilterAndNormalisationOnLeaving) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* left;
    } cases[] = {
        {L"abc", L""},
        {L"-5", L"-5"},
        {L"0", L""},
        {L"000", L""},
        {L"99999999999", L"2147483647"},
        {L"007", L"7"},
        {L"1x2y3", L"123"},
        {L"-99999999999", L"-2147483648"},
        {L"12-3", L"12"},
        {L"--4", L""},
        {L"\x4E2D"
         L"8",
         L"8"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(type_and_leave(c.typed), c.left) << static_cast<const void*>(c.typed);
}

TEST(IntegerEditBox, ControlCharactersPassAndTheCaretStays) {
    HWND edit = child(kEdit);
    SetWindowTextW(edit, L"123");
    SendMessageW(edit, EM_SETSEL, 3, 3);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(window_text(edit), L"12");

    SetWindowTextW(edit, L"-0012");
    SendMessageW(edit, EM_SETSEL, 2, 2);
    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(window_text(edit), L"-12");
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 2u);
}

} // namespace
} // namespace brindor::window_tests
