#include "submit/service/script_tokens.h"

#include <cstring>

#include "runtime/core/text_builder.h"
#include "text/hex_digit.h"

namespace brindor {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// U+2028 and U+2029 as UTF-8 bytes: an answer that was not converted from UTF-8 keeps them so.
bool IsLineSeparator(const char* p) {
    return p[0] == '\xE2' && p[1] == '\x80' && (p[2] == '\xA8' || p[2] == '\xA9');
}

// A "//" comment ends at any of them, as a script engine ends it: what follows is a statement.
bool EndsLine(const char* p) {
    return *p == '\n' || *p == '\r' || IsLineSeparator(p);
}

bool StartsIdentifier(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool InIdentifier(char c) {
    return StartsIdentifier(c) || IsDigit(c);
}

// The first byte of a two-byte character of code page 936 and a byte that may follow it.
bool LeadsPair(const char* p) {
    const auto lead = static_cast<unsigned char>(p[0]), trail = static_cast<unsigned char>(p[1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

bool IsPunctuation(char c) {
    return std::strchr("{}()[];,.:?!=&|+-*/%<>~^", c) != nullptr;
}

const char* SkipBlanksAndComments(const char* p, bool& unterminated) {
    for (;;) {
        while (IsBlank(*p) || IsLineSeparator(p))
            p += IsBlank(*p) ? 1 : 3;
        if (p[0] == '/' && p[1] == '*') {
            const char* close = std::strstr(p + 2, "*/");
            if (!close) {
                unterminated = true;
                return p;
            }
            p = close + 2;
        } else if (p[0] == '/' && p[1] == '/') {
            while (*p && !EndsLine(p))
                ++p;
        } else {
            return p;
        }
    }
}

// Just past the quote that closes the string opening at `p`; null when the text ends first.
const char* StringEnd(const char* p) {
    const char quote = *p++;
    while (*p != quote) {
        if (!*p) return nullptr;
        if (*p == '\\') {
            if (!p[1]) return nullptr;
            // An escaped two-byte character is taken whole, or its second byte could pass for a
            // backslash.
            p += LeadsPair(p + 1) ? 3 : 2;
        } else {
            p += LeadsPair(p) ? 2 : 1;
        }
    }
    return p + 1;
}

const char* NumberEnd(const char* p) {
    while (InIdentifier(*p) || *p == '.' || ((*p == '+' || *p == '-') && (p[-1] == 'e' || p[-1] == 'E')))
        ++p;
    return p;
}

// The value of `count` hex digits at `p`; -1 when they are not all there.
int HexValue(const char* p, const char* end, int count) {
    if (end - p < count) return -1;
    return HexDigitsValue(count, [p](int i) { return static_cast<unsigned char>(p[i]); });
}

char SimpleEscape(char c) {
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'v':
        return '\v';
    case '0':
        return '\0';
    default:
        return c;
    }
}

} // namespace

bool ScriptToken::Is(const char* spelling) const {
    if (kind != TokenKind::kIdentifier && kind != TokenKind::kPunctuator) return false;
    return std::strlen(spelling) == length() && std::memcmp(begin, spelling, length()) == 0;
}

ScriptTokens::ScriptTokens(TextRef text) : at_(text.c_str()) {
    next_ = Scan();
}

ScriptToken ScriptTokens::Take() {
    ScriptToken taken = next_;
    next_ = Scan();
    return taken;
}

bool ScriptTokens::Skip(const char* spelling) {
    if (!next_.Is(spelling)) return false;
    Take();
    return true;
}

ScriptToken ScriptTokens::Scan() {
    bool unterminated = false;
    const char* p = SkipBlanksAndComments(at_, unterminated);
    ScriptToken token{TokenKind::kEnd, p, p};
    if (unterminated) {
        token.kind = TokenKind::kUnterminated;
        token.end = p + std::strlen(p);
    } else if (!*p) {
        // The end stays the end however often it is asked for.
    } else if (*p == '\'' || *p == '"') {
        const char* end = StringEnd(p);
        token.kind = end ? TokenKind::kString : TokenKind::kUnterminated;
        token.end = end ? end : p + std::strlen(p);
    } else if (StartsIdentifier(*p)) {
        token.kind = TokenKind::kIdentifier;
        for (token.end = p; InIdentifier(*token.end);)
            ++token.end;
    } else if (IsDigit(*p) || (*p == '.' && IsDigit(p[1]))) {
        token.kind = TokenKind::kNumber;
        token.end = NumberEnd(p + 1);
    } else if (IsPunctuation(*p)) {
        token.kind = TokenKind::kPunctuator;
        static constexpr const char* kLong[] = {"===", "!==", "==", "!=", "&&", "||"};
        token.end = p + 1;
        for (const char* spelling : kLong) {
            if (std::strncmp(p, spelling, std::strlen(spelling)) == 0) {
                token.end = p + std::strlen(spelling);
                break;
            }
        }
    } else {
        token.kind = TokenKind::kStray;
        token.end = p + 1;
    }
    at_ = token.end;
    return token;
}

const char* SkipByteOrderMark(const char* text) {
    while (IsBlank(*text))
        ++text;
    if (std::strncmp(text, "\xEF\xBB\xBF", 3) == 0)
        text += 3;
    else if (*text == '?')
        ++text;
    return text;
}

Text StringTokenContent(const ScriptToken& token) {
    if (token.kind != TokenKind::kString) return {};
    TextBuilder content(token.length() - 2);
    content.append(token.begin + 1, token.length() - 2);
    return content.take();
}

Text StringTokenValue(const ScriptToken& token) {
    if (token.kind != TokenKind::kString) return {};
    const char* p = token.begin + 1;
    const char* end = token.end - 1;
    TextBuilder value(token.length());
    while (p < end) {
        if (LeadsPair(p)) {
            value.append(p, 2);
            p += 2;
            continue;
        }
        if (*p != '\\') {
            value.append(*p++);
            continue;
        }
        const char c = p[1];
        if (LeadsPair(p + 1)) {
            value.append(p + 1, 2);
            p += 3;
        } else if (c == 'x' || c == 'u') {
            const int digits = c == 'x' ? 2 : 4;
            const int code = HexValue(p + 2, end, digits);
            if (code >= 0 && code < 0x80) {
                // A NUL cannot stand in a text: it is left out rather than cutting the rest off.
                if (code != 0) value.append(static_cast<char>(code));
                p += 2 + digits;
            } else {
                value.append(p, 2);
                p += 2;
            }
        } else if (c == '\r' || c == '\n') {
            // A line continuation adds nothing to the string.
            p += (c == '\r' && p[2] == '\n') ? 3 : 2;
        } else {
            if (const char decoded = SimpleEscape(c); decoded != '\0') value.append(decoded);
            p += 2;
        }
    }
    return value.take();
}

} // namespace brindor
