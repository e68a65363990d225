// The service answers in the small part of JavaScript that JSONP uses. Reading it as tokens keeps a
// quote, a parenthesis or a word inside a string from passing for the answer's own punctuation.
#pragma once
#include <cstddef>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

enum class TokenKind {
    kEnd,
    kIdentifier,
    kNumber,
    kString,       // single- or double-quoted; the span includes the quotes
    kPunctuator,   // one character, or one of === !== == != && ||
    kUnterminated, // a string or comment that the text ends inside: a cut answer
    kStray,        // a byte no script holds outside a string
};

struct ScriptToken {
    TokenKind kind = TokenKind::kEnd;
    const char* begin = nullptr;
    const char* end = nullptr;

    size_t length() const { return static_cast<size_t>(end - begin); }
    // The token is this identifier or punctuator, spelled exactly so.
    bool Is(const char* spelling) const;
};

// Blanks and comments are passed over. Strings step over two-byte characters whole, so a second
// byte that happens to be a backslash does not escape the quote after it.
class ScriptTokens {
  public:
    explicit ScriptTokens(TextRef text);

    const ScriptToken& Peek() const { return next_; }
    ScriptToken Take();
    // Takes the next token when it is this identifier or punctuator.
    bool Skip(const char* spelling);

  private:
    ScriptToken Scan();

    const char* at_;
    ScriptToken next_;
};

// Past leading blanks and a UTF-8 byte order mark: its raw bytes, or the "?" that code page 936
// makes of it.
const char* SkipByteOrderMark(const char* text);

// A string token's content with its escapes decoded. A \u escape beyond ASCII stays as written:
// the code page conversion that could turn it into a character lives at the Windows edge.
Text StringTokenValue(const ScriptToken& token);

// A string token's content as written, escapes kept.
Text StringTokenContent(const ScriptToken& token);

} // namespace brindor
