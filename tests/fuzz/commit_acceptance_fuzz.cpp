// Properties of the confirmation rule rather than a second copy of it: a JSON object wrapped in any
// accepted form is a confirmation exactly when it holds no null and its outermost keys deny no task;
// a reserved word as the callee, a statement after it (past a line comment's end too), or its last
// byte cut off, never leaves one. Any bytes: the reading of the message and its escapes stays sound.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "submit/service/answer_shape.h"
#include "submit/service/commit_body.h"
#include "submit/service/service_message.h"
#include "text/json_escapes.h"

using namespace brindor;

namespace {

const char* const kStrings[] = {
    "\"id\"", "\"msg\"", "\"null\"",  "\"Annulled\"",         "\"a)b;c(\"",   "\"\\\"\"",   "\"\\u672a\"",
    "\"'\"",  "\"\"",    "\"x\\\\\"", "\"\xB5\xC7\xC2\xBC\"", "\"progress\"", "\"result\"", "\"error\""};
const char* const kReserved[] = {"throw", "void", "if", "new", "return", "typeof"};
const char* const kLineEnds[] = {"\n", "\r", "\xE2\x80\xA8", "\xE2\x80\xA9"};
const char* const kScalars[] = {"1", "-2.5e3", "true", "false", "null", "0"};
const char* const kBlanks[] = {"", " ", "\r\n", "/**/", "/* ) */", "\t"};
const char* const kWords[] = {"(", ")", ";", "{", "}", "null", "\"", "'", "\\", "/*", "*/", "cb"};

// What the outermost object says: a task made (a non-empty id, a progress of 0 or more), or none (a
// negative progress or result, an error key, an empty id, no key at all).
struct TaskSigns {
    bool made = false, denied = false;
};

void NoteMember(const std::string& key, const std::string& value, TaskSigns& signs) {
    const bool negative = value[0] == '-', number = negative || std::isdigit(value[0]);
    const bool text = value[0] == '"' && value != "\"\"" && value != "\"null\"";
    signs.denied = signs.denied || key == "\"error\"" || (key == "\"id\"" && value == "\"\"") ||
                   ((key == "\"progress\"" || key == "\"result\"") && negative);
    signs.made =
        signs.made || (key == "\"id\"" && (text || number)) || (key == "\"progress\"" && number && !negative);
}

// A JSON object made from the input; `has_null` tells whether the service would mean "nothing made".
std::string Object(FuzzInput& in, int depth, bool& has_null, TaskSigns* signs = nullptr);

std::string Value(FuzzInput& in, int depth, bool& has_null) {
    const uint8_t kind = in.next() % 4;
    if (kind == 0 && depth < 4) return Object(in, depth + 1, has_null);
    if (kind == 1 && depth < 4) {
        std::string array = "[";
        for (int n = in.next() % 3, i = 0; i < n; ++i)
            array += (i ? "," : "") + Value(in, depth + 1, has_null);
        return array + "]";
    }
    if (kind == 2) {
        const char* s = kStrings[in.next() % std::size(kStrings)];
        has_null = has_null || std::strcmp(s, "\"null\"") == 0;
        return s;
    }
    const char* scalar = kScalars[in.next() % std::size(kScalars)];
    has_null = has_null || std::strcmp(scalar, "null") == 0;
    return scalar;
}

std::string Object(FuzzInput& in, int depth, bool& has_null, TaskSigns* signs) {
    std::string object = "{";
    const int n = in.next() % 4;
    if (signs && n == 0) signs->denied = true;
    for (int i = 0; i < n; ++i) {
        const char* key = kStrings[in.next() % std::size(kStrings)];
        has_null = has_null || std::strcmp(key, "\"null\"") == 0;
        object += i ? "," : "";
        object += key;
        object += kBlanks[in.next() % std::size(kBlanks)];
        const std::string value = Value(in, depth, has_null);
        if (signs) NoteMember(key, value, *signs);
        object += ":" + value;
    }
    return object + "}";
}

std::string Wrapped(uint8_t form, const std::string& value) {
    switch (form % 7) {
    case 0:
        return "jsonp1(" + value + ")";
    case 1:
        return "/**/cb(" + value + ")";
    case 2:
        return "window.cb(" + value + ")";
    case 3:
        return "window[\"cb\"](" + value + ")";
    case 4:
        return "typeof cb === 'function' && cb(" + value + ")";
    case 5:
        return "try{cb(" + value + ");}catch(e){}";
    default:
        return value;
    }
}

bool Accepted(const std::string& text) {
    return IsCommitAccepted(ServiceAnswer{Text(text.c_str()), 200, Text("jsonp1")});
}

// Decoding only ever shortens, and leaves a text without a backslash as it is.
void CheckDecoding(const std::string& text) {
    Bytes in;
    for (char c : text) {
        const uint8_t unit[2] = {static_cast<uint8_t>(c), 0};
        in.append(unit, 2);
    }
    const Bytes out = DecodeJsonEscapes(in);
    Check(out.size() <= in.size());
    if (text.find('\\') == std::string::npos)
        Check(out.size() == in.size() && (in.empty() || std::memcmp(out.data(), in.data(), in.size()) == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    bool has_null = false;
    TaskSigns signs;
    const std::string value = Object(in, 0, has_null, &signs);
    const std::string core = Wrapped(in.next(), value);
    const std::string lead = kBlanks[in.next() % std::size(kBlanks)];
    const std::string tail = std::string(in.next() & 1 ? ";" : "") + kBlanks[in.next() % std::size(kBlanks)];
    const std::string answer = lead + core + tail;
    const CommitShape expected =
        has_null ? (signs.made ? CommitShape::kContradiction : CommitShape::kRefusal)
                 : (signs.denied ? CommitShape::kContradiction : CommitShape::kConfirmation);
    Check(ReadCommitShape(answer.c_str()) == expected);
    Check(Accepted(answer) == (expected == CommitShape::kConfirmation));
    Check(!Accepted(answer + ";location.reload()") && !Accepted(answer + "cb(" + value + ")"));
    Check(!Accepted(lead + core.substr(0, core.size() - 1)));
    // No reserved word calls a function; a line comment ends at every line terminator.
    const std::string reserved = kReserved[in.next() % std::size(kReserved)];
    Check(ReadCommitShape((lead + reserved + "(" + value + ")" + tail).c_str()) == CommitShape::kOther);
    const std::string comment = "//x" + std::string(kLineEnds[in.next() % std::size(kLineEnds)]);
    Check(ReadCommitShape((answer + comment).c_str()) == expected);
    Check(!Accepted(answer + comment + "location.reload()"));

    const std::string text = in.piece(kWords, 60);
    Accepted(text);
    const Text message = RawServiceMessage(text.c_str());
    Check(text.find(message.c_str()) != std::string::npos);
    CheckDecoding(message.c_str());
    CheckDecoding(text);
    return 0;
}
