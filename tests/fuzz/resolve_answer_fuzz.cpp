// Any title and content id, quoted as the service quotes them, read back unchanged from a whole
// answer, whatever the title holds ("new Array" too) never moving the arrays; for any bytes without a
// queryUrl call, the arrays against a plain byte-wise reading where the input is ASCII, and the
// reading's invariants everywhere.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "submit/service/answer_shape.h"
#include "submit/service/resolve_answer.h"
#include "submit/service/service_requests.h"

namespace {

std::vector<std::string> split(const std::string& text, const std::string& delimiter) {
    std::vector<std::string> pieces;
    size_t from = 0;
    while (from < text.size()) {
        size_t at = text.find(delimiter, from);
        if (at == std::string::npos) at = text.size();
        pieces.push_back(text.substr(from, at - from));
        from = at + delimiter.size();
    }
    return pieces;
}

std::string between_first(const std::string& text, const std::string& left, const std::string& right) {
    size_t p = text.find(left);
    if (p == std::string::npos) return "";
    size_t q = text.find(right, p);
    if (q == std::string::npos || q < p + left.size()) return "";
    return text.substr(p + left.size(), q - p - left.size());
}

std::string replace_all(std::string text, const std::string& sought, const std::string& replacement) {
    for (size_t at = text.find(sought); at != std::string::npos;
         at = text.find(sought, at + replacement.size()))
        text.replace(at, sought.size(), replacement);
    return text;
}

std::string join(const std::string& piece) {
    return replace_all(replace_all(between_first(piece, "(", ")"), "',", "_"), "'", "") + "_";
}

// A text as a code page 936 conversion can give it: ASCII other than NUL, and two-byte characters.
std::string CodePageText(FuzzInput& in) {
    std::string text;
    for (size_t n = in.next() % 40, i = 0; i < n && in.size; ++i) {
        const uint8_t b = in.next();
        if (b < 0x81) {
            text += static_cast<char>(b ? b : '\'');
        } else {
            uint8_t trail = in.next();
            trail = trail < 0x40 ? trail + 0x40 : trail == 0x7F || trail == 0xFF ? 0x5C : trail;
            text += static_cast<char>(b == 0xFF ? 0xFE : b);
            text += static_cast<char>(trail);
        }
    }
    return text;
}

// The service escapes characters: the second byte of a two-byte character is never escaped.
std::string Quoted(const std::string& value) {
    std::string quoted = "'";
    for (size_t i = 0; i < value.size(); ++i) {
        if (static_cast<unsigned char>(value[i]) >= 0x81) {
            quoted += value.substr(i++, 2);
            continue;
        }
        if (value[i] == '\\' || value[i] == '\'') quoted += '\\';
        quoted += value[i];
    }
    return quoted + "'";
}

void check(bool holds) {
    if (!holds) abort();
}

void check_escaped(const std::string& link, const char* escaped) {
    size_t expected_length = 0;
    for (unsigned char byte : link)
        expected_length += (byte > 0x20 && byte < 0x7F && byte != '#') ? 1 : 3;
    check(std::strlen(escaped) == expected_length);
    for (const char* at = escaped; *at; ++at)
        check(*at > 0x20 && *at < 0x7F && *at != '#');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    const std::string cid = CodePageText(in);
    const std::string title = CodePageText(in) + (in.next() & 1 ? "new Array('9')," : "") + CodePageText(in);
    const std::string whole = "queryUrl(1," + Quoted(cid) + ",'7'," + Quoted(title) +
                              ",'1',new Array('a'),new Array('1B'),new Array('7'),new Array('1'),"
                              "new Array('x'),new Array('0'),'0.5')";
    check(brindor::ResolveAnswerShape(whole.c_str()) == brindor::ResolveShape::kWhole);
    brindor::TaskFields read;
    check(brindor::ParseResolveAnswer(whole.c_str(), read));
    check(cid == read.cid.c_str() && title == read.title.c_str() && std::string("7") == read.tsize.c_str());
    check(std::string("7_") == read.size.c_str() && std::string("0_") == read.findex.c_str());

    std::string answer(reinterpret_cast<const char*>(in.data),
                       strnlen(reinterpret_cast<const char*>(in.data), in.size));
    brindor::TaskFields fields{"c", "t", "n", "f", "s"};
    brindor::ParseResolveAnswer(answer.c_str(), fields);
    brindor::ResolveAnswerShape(answer.c_str());
    for (const brindor::Text* field :
         {&fields.cid, &fields.tsize, &fields.title, &fields.findex, &fields.size})
        check(field->length() <= answer.size() + 1);

    bool ascii = true;
    for (unsigned char byte : answer)
        ascii = ascii && byte < 0x80;
    // A call read by its tokens takes its arrays from its arguments, not from the text's cuts.
    if (ascii && answer.find("queryUrl") == std::string::npos) {
        std::vector<std::string> arrays = split(answer, "new Array");
        check((arrays.size() >= 4 ? join(arrays[3]) : "s") == fields.size.c_str());
        check((arrays.size() >= 7 ? join(arrays[6]) : "f") == fields.findex.c_str());
        check(join(answer) == brindor::JoinArrayValues(answer.c_str()).c_str());
    }

    check_escaped(answer, brindor::EscapeLinkForQuery(answer.c_str()).c_str());
    brindor::ResolveAnswerStillUtf8(answer.c_str(), answer.c_str());
    return 0;
}
