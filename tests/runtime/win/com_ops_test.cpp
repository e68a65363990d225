#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <thread>

#include "runtime/win/com_ops.h"
#include "runtime/win/text_boundary.h"

using namespace brindor;

namespace {

class Automation : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

// A script object in JScript, as the timestamp uses it.
ComObject jscript() {
    ComObject script;
    EXPECT_TRUE(com_create(script, "ScriptControl"));
    EXPECT_TRUE(com_set_property(script, "Language", Value::text("JScript")));
    return script;
}

int64_t now_in_milliseconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    int64_t ticks = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL; // 100-ns units since 1601 to ms since 1970
}

bool all_digits(const char* s) {
    for (; *s; ++s)
        if (!std::isdigit(static_cast<unsigned char>(*s))) return false;
    return true;
}

// The timestamp sequence exactly as the application runs it, its own COM set-up included.
std::string script_timestamp() {
    CoInitialize(nullptr);
    ComObject script;
    com_create(script, "ScriptControl");
    com_set_property(script, "Language", Value::text("JScript"));
    com_call_number(script, "ExecuteStatement",
                    {Value::text("function time(){return new Date().getTime()}")});
    Variant time = com_call_variant(script, "Run", {Value::text("time")});
    std::string text = variant_to_text(time).c_str();
    variant_clear(time);
    com_clear(script);
    CoUninitialize();
    return text;
}

} // namespace

TEST(ScriptTimestamp, GivesThirteenDigitMillisecondsOnAWorkerThread) {
    std::string first, second;
    std::thread worker([&] {
        first = script_timestamp();
        Sleep(300);
        second = script_timestamp();
    });
    worker.join();
    ASSERT_EQ(first.size(), 13u) << first;
    EXPECT_TRUE(all_digits(first.c_str())) << first;
    EXPECT_LT(std::llabs(std::atoll(first.c_str()) - (now_in_milliseconds() - 300)), 5000);
    int64_t apart = std::atoll(second.c_str()) - std::atoll(first.c_str());
    EXPECT_GE(apart, 250);
    EXPECT_LT(apart, 3000);
}

TEST_F(Automation, NamesIgnoreLetterCase) {
    ComObject script;
    ASSERT_TRUE(com_create(script, "ScriptControl"));
    EXPECT_TRUE(com_set_property(script, "lAnGuAgE", Value::text("JScript")));
    EXPECT_EQ(com_call_number(script, "EXECUTESTATEMENT", {Value::text("function twice(x){return 2*x}")}), 0);
    Variant result = com_call_variant(script, "run", {Value::text("twice"), Value::integer(21)});
    EXPECT_EQ(variant_to_text(result), "42");
    EXPECT_EQ(com_call_number(script, "eVaL", {Value::text("6*7")}), 42);
}

TEST_F(Automation, ArgumentsAndResultsConvert) {
    ComObject script = jscript();
    com_call_number(script, "ExecuteStatement",
                    {Value::text("function add(a,b){return a+b} function kind(x){return typeof x}")});
    EXPECT_EQ(com_call_number(script, "Run", {Value::text("add"), Value::integer(2), Value::real(0.5)}), 2.5);
    Variant joined =
        com_call_variant(script, "Run", {Value::text("add"), Value::text("a"), Value::text("b")});
    EXPECT_EQ(variant_to_text(joined), "ab"); // argument order kept
    struct Case {
        Value argument;
        const char* kind;
    } cases[] = {
        {Value::text("t"), "string"},
        {Value::integer(-7), "number"},
        {Value::boolean(true), "boolean"},
        {Value::real(1.25), "number"},
    };
    for (const Case& c : cases) {
        Variant kind = com_call_variant(script, "Run", {Value::text("kind"), c.argument});
        EXPECT_EQ(variant_to_text(kind), c.kind);
    }
    // GBK in, GBK out, through the script's UTF-16 strings.
    const char* chinese = "\xD6\xD0\xCE\xC4"; // 中文
    Variant echoed =
        com_call_variant(script, "Eval", {Value::text((std::string("'") + chinese + "'").c_str())});
    EXPECT_EQ(variant_to_text(echoed), chinese);
    Variant fraction = com_call_variant(script, "Eval", {Value::text("1/4")});
    EXPECT_EQ(variant_to_text(fraction), "0.25");
    // Text that is not a number gives 0 as a number.
    EXPECT_EQ(com_call_number(script, "Eval", {Value::text("'abc'")}), 0);
}

TEST_F(Automation, FailuresAreQuiet) {
    ComObject script = jscript();
    IUnknown* held = script.unknown();
    EXPECT_FALSE(com_create(script, "Brindor.NoSuchClass"));
    EXPECT_FALSE(com_create(script, "{00000000-0000-0000-0000-00000000ABCD}"));
    EXPECT_FALSE(com_create(script, "{not a class id}"));
    EXPECT_FALSE(com_create(script, ""));
    EXPECT_EQ(script.unknown(), held); // a failed create leaves the object as it was

    EXPECT_FALSE(com_set_property(script, "NoSuchProperty", Value::text("x")));
    EXPECT_FALSE(com_set_property(script, "Language", Value::bytes(nullptr))); // no automation form
    EXPECT_EQ(com_call_number(script, "NoSuchMethod"), 0);
    EXPECT_TRUE(com_call_variant(script, "NoSuchMethod").empty());
    EXPECT_TRUE(com_call_variant(script, "Run", {Value::text("undefinedFunction")}).empty());
    EXPECT_TRUE(com_call_variant(script, "Eval", {Value::text("(((")}).empty());
    EXPECT_EQ(com_call_number(script, "Eval", {Value::text("throw 5")}), 0);
    EXPECT_EQ(com_call_number(script, "Eval", {Value::text("1"), Value::text("2"), Value::text("3")}), 0);

    com_clear(script);
    EXPECT_TRUE(script.empty());
    EXPECT_FALSE(com_set_property(script, "Language", Value::text("JScript")));
    EXPECT_EQ(com_call_number(script, "Eval", {Value::text("1")}), 0);
    Variant nothing = com_call_variant(script, "Eval", {Value::text("1")});
    EXPECT_TRUE(nothing.empty());
    EXPECT_TRUE(variant_to_text(nothing).empty());
}

TEST_F(Automation, CreatesFromABracedClassId) {
    CLSID id;
    ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(L"ScriptControl", &id)));
    wchar_t braced[64];
    StringFromGUID2(id, braced, 64);
    ComObject script;
    ASSERT_TRUE(com_create(script, from_wide(braced).c_str()));
    EXPECT_TRUE(com_set_property(script, "Language", Value::text("JScript")));
    EXPECT_EQ(com_call_number(script, "Eval", {Value::text("1+1")}), 2);
}

TEST_F(Automation, CreatesACoclassNamedInATypeLibrary) {
    ComObject font;
    EXPECT_TRUE(com_create(font, "stdfont", "stdole2.tlb"));
    EXPECT_FALSE(font.empty());
    EXPECT_FALSE(com_create(font, "NoSuchCoclass", "stdole2.tlb"));
    EXPECT_FALSE(com_create(font, "StdFont", "no_such_library.tlb"));
}

TEST_F(Automation, VariantsClearToAllZeroAndIndexArrays) {
    ComObject script = jscript();
    Variant text = com_call_variant(script, "Eval", {Value::text("'x'")});
    ASSERT_EQ(text.type(), VT_BSTR);
    variant_clear(text);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.get());
    for (size_t i = 0; i < sizeof(VARIANT); ++i)
        EXPECT_EQ(bytes[i], 0) << i;

    // A safe array of BSTRs, as some objects return lists.
    Variant array;
    SAFEARRAY* list = SafeArrayCreateVector(VT_BSTR, 0, 2);
    LONG at = 1;
    BSTR second = SysAllocString(L"b");
    SafeArrayPutElement(list, &at, second);
    SysFreeString(second);
    VARIANT* raw = array.put();
    V_VT(raw) = VT_ARRAY | VT_BSTR;
    V_ARRAY(raw) = list;
    EXPECT_EQ(variant_to_text(array, 2), "b");
    EXPECT_TRUE(variant_to_text(array, 3).empty());
    EXPECT_TRUE(variant_to_text(array).empty());
}
