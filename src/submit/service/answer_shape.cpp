#include "submit/service/answer_shape.h"

#include <cstring>

#include "runtime/core/text_ops.h"
#include "submit/service/script_tokens.h"

namespace brindor {

namespace {

// Deeper nesting than any answer of the service: refused rather than followed.
constexpr int kMaxDepth = 64;

// What the outermost object says of a task: a sign that one was made, and a sign that none was.
struct TaskSigns {
    bool made = false;
    bool denied = false;
};

bool IsKey(const Text& key, const char* name) {
    return compare_text(key, name) == 0;
}

// One value of the outermost object, told by its first token: the signs it gives under its key.
void NoteMember(const Text& key, const ScriptToken& first, TaskSigns& signs) {
    const bool negative = first.Is("-");
    const bool number = negative || first.kind == TokenKind::kNumber;
    const Text string = first.kind == TokenKind::kString ? StringTokenValue(first) : Text();
    const bool null_string = compare_text(string, "null") == 0;
    if (IsKey(key, "error")) signs.denied = true;
    if (IsKey(key, "id")) {
        if (first.kind == TokenKind::kString && string.empty()) signs.denied = true;
        if ((!string.empty() && !null_string) || number) signs.made = true;
    }
    if (IsKey(key, "progress") || IsKey(key, "result")) {
        if (negative || *string.c_str() == '-') signs.denied = true;
        if (IsKey(key, "progress") && number && !negative) signs.made = true;
    }
}

// Reads one JSON value from the tokens; notes the null the service writes for "nothing made", and
// what the outermost object says of a task.
class JsonReader {
  public:
    explicit JsonReader(ScriptTokens& tokens) : tokens_(tokens) {}

    bool Object(int depth = 0) {
        if (depth > kMaxDepth || !tokens_.Skip("{")) return false;
        if (tokens_.Skip("}")) {
            if (depth == 0) signs_.denied = true;
            return true;
        }
        do {
            const ScriptToken key = tokens_.Peek();
            if (!String() || !tokens_.Skip(":")) return false;
            const ScriptToken first = tokens_.Peek();
            if (!Value(depth)) return false;
            if (depth == 0) NoteMember(StringTokenValue(key), first, signs_);
        } while (tokens_.Skip(","));
        return tokens_.Skip("}");
    }

    CommitShape Shape() const {
        if (holds_null_) return signs_.made ? CommitShape::kContradiction : CommitShape::kRefusal;
        return signs_.denied ? CommitShape::kContradiction : CommitShape::kConfirmation;
    }

  private:
    bool Value(int depth) {
        const ScriptToken& next = tokens_.Peek();
        if (next.Is("{")) return Object(depth + 1);
        if (next.Is("[")) return Array(depth + 1);
        if (next.kind == TokenKind::kString) return String();
        if (tokens_.Skip("-")) return Number();
        if (next.kind == TokenKind::kNumber) return Number();
        if (next.Is("null")) holds_null_ = true;
        if (!next.Is("true") && !next.Is("false") && !next.Is("null")) return false;
        tokens_.Take();
        return true;
    }

    bool Number() {
        if (tokens_.Peek().kind != TokenKind::kNumber) return false;
        tokens_.Take();
        return true;
    }

    bool Array(int depth) {
        if (depth > kMaxDepth || !tokens_.Skip("[")) return false;
        if (tokens_.Skip("]")) return true;
        do {
            if (!Value(depth)) return false;
        } while (tokens_.Skip(","));
        return tokens_.Skip("]");
    }

    // JSON strings are double-quoted.
    bool String() {
        const ScriptToken& next = tokens_.Peek();
        if (next.kind != TokenKind::kString || *next.begin != '"') return false;
        if (compare_text(StringTokenValue(next), "null") == 0) holds_null_ = true;
        tokens_.Take();
        return true;
    }

    ScriptTokens& tokens_;
    bool holds_null_ = false;
    TaskSigns signs_;
};

// A word that cannot name a function: throw({...}), void(...) and if(...); call none.
bool IsReservedWord(const ScriptToken& token) {
    static constexpr const char* kReserved[] = {
        "await",     "break",  "case",     "catch",  "class",      "const",   "continue",  "debugger",
        "default",   "delete", "do",       "else",   "enum",       "export",  "extends",   "false",
        "finally",   "for",    "function", "if",     "implements", "import",  "in",        "instanceof",
        "interface", "let",    "new",      "null",   "package",    "private", "protected", "public",
        "return",    "static", "super",    "switch", "this",       "throw",   "true",      "try",
        "typeof",    "var",    "void",     "while",  "with",       "yield"};
    for (const char* word : kReserved)
        if (token.Is(word)) return true;
    return false;
}

// name, window.name or window["name"]; empty text when the tokens hold none of them.
Text Callee(ScriptTokens& tokens) {
    if (tokens.Peek().kind != TokenKind::kIdentifier || IsReservedWord(tokens.Peek())) return {};
    const ScriptToken name = tokens.Take();
    if (!name.Is("window")) return left_text(name.begin, static_cast<int>(name.length()));
    if (tokens.Skip(".")) {
        if (tokens.Peek().kind != TokenKind::kIdentifier) return {};
        const ScriptToken member = tokens.Take();
        return left_text(member.begin, static_cast<int>(member.length()));
    }
    if (!tokens.Skip("[") || tokens.Peek().kind != TokenKind::kString) return {};
    Text member = StringTokenValue(tokens.Take());
    return tokens.Skip("]") ? member : Text{};
}

bool CallOf(ScriptTokens& tokens, TextRef expected_name, JsonReader& value) {
    const Text name = Callee(tokens);
    if (name.empty() || (*expected_name.c_str() && compare_text(name, expected_name) != 0)) return false;
    return tokens.Skip("(") && value.Object() && tokens.Skip(")");
}

// typeof name === 'function' && name(VALUE), or a plain call.
bool GuardedCall(ScriptTokens& tokens, JsonReader& value) {
    if (!tokens.Skip("typeof")) return CallOf(tokens, "", value);
    const Text name = Callee(tokens);
    if (name.empty() || !(tokens.Skip("===") || tokens.Skip("=="))) return false;
    if (compare_text(StringTokenValue(tokens.Take()), "function") != 0) return false;
    return tokens.Skip("&&") && CallOf(tokens, name, value);
}

void SkipSemicolons(ScriptTokens& tokens) {
    while (tokens.Skip(";")) {
    }
}

bool Statement(ScriptTokens& tokens, JsonReader& value) {
    if (tokens.Peek().Is("{")) return value.Object();
    if (!tokens.Skip("try")) return GuardedCall(tokens, value);
    if (!tokens.Skip("{") || !GuardedCall(tokens, value)) return false;
    SkipSemicolons(tokens);
    if (!tokens.Skip("}") || !tokens.Skip("catch") || !tokens.Skip("(")) return false;
    if (tokens.Take().kind != TokenKind::kIdentifier) return false;
    return tokens.Skip(")") && tokens.Skip("{") && tokens.Skip("}");
}

// Moves past the tokens up to the parenthesis that closes the one just taken; false when the text
// ends first.
bool SkipToClosingParenthesis(ScriptTokens& tokens, bool& cut) {
    for (int depth = 1;;) {
        const ScriptToken token = tokens.Take();
        if (token.kind == TokenKind::kEnd || token.kind == TokenKind::kUnterminated) {
            cut = true;
            return false;
        }
        if (token.kind == TokenKind::kStray) return false;
        if (token.Is("(")) ++depth;
        if (token.Is(")") && --depth == 0) return true;
    }
}

} // namespace

CommitShape ReadCommitShape(TextRef text) {
    ScriptTokens tokens(SkipByteOrderMark(text.c_str()));
    JsonReader value(tokens);
    if (!Statement(tokens, value)) return CommitShape::kOther;
    SkipSemicolons(tokens);
    if (tokens.Peek().kind != TokenKind::kEnd) return CommitShape::kOther;
    return value.Shape();
}

ResolveShape ResolveAnswerShape(TextRef text) {
    ScriptTokens tokens(SkipByteOrderMark(text.c_str()));
    if (!tokens.Skip("queryUrl") || !tokens.Skip("(")) return ResolveShape::kOther;
    bool cut = false;
    if (!SkipToClosingParenthesis(tokens, cut)) return cut ? ResolveShape::kCut : ResolveShape::kOther;
    SkipSemicolons(tokens);
    return tokens.Peek().kind == TokenKind::kEnd ? ResolveShape::kWhole : ResolveShape::kOther;
}

bool IsHtmlPage(TextRef text) {
    return *SkipByteOrderMark(text.c_str()) == '<';
}

} // namespace brindor
