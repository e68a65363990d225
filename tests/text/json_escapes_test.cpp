#include "text/json_escapes.h"

#include <string>

#include <gtest/gtest.h>

namespace brindor {
namespace {

TEST(DecodeJsonEscapes, EveryEscapeAndWhatIsNoEscape) {
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"\\u672a\\u767b\\u5f55", u"未登录"},
        {u"\\uD83C\\uDFB5 \\ud83c\\udfb5", u"\U0001F3B5 \U0001F3B5"},
        {u"\\\" \\\\ \\/ \\b\\f\\n\\r\\t", u"\" \\ / \b\f\n\r\t"},
        // A lone surrogate or a zero would break the conversion or cut the message short.
        {u"a\\uD83Cb\\uDFB5\\u0000", u"a\uFFFDb\uFFFD\uFFFD"},
        {u"\\uD83C\\u0041", u"\uFFFDA"},
        {u"\\x \\u12 \\u12G4 \\", u"\\x \\u12 \\u12G4 \\"},
    };
    for (const auto& c : cases) {
        const Bytes out = DecodeJsonEscapes(Bytes(c.in.data(), c.in.size() * 2)); // little-endian host
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(out.data()), out.size() / 2), c.out);
    }
}

} // namespace
} // namespace brindor
