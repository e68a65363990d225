#include "text/json_escapes.h"

#include <string>

#include <gtest/gtest.h>

namespace brindor {
namespace {

Bytes Units(const std::u16string& s) {
    Bytes out;
    for (char16_t unit : s) {
        const uint8_t pair[2] = {static_cast<uint8_t>(unit & 0xFF), static_cast<uint8_t>(unit >> 8)};
        out.append(pair, 2);
    }
    return out;
}

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
        {u"未登录", u"未登录"},
    };
    for (const auto& c : cases) {
        const Bytes decoded = DecodeJsonEscapes(Units(c.in));
        const Bytes expected = Units(c.out);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(decoded.data()), decoded.size()),
                  std::string(reinterpret_cast<const char*>(expected.data()), expected.size()));
    }
}

} // namespace
} // namespace brindor
