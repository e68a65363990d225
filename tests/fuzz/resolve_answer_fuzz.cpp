// The resolve answer reading for any bytes: against a plain byte-wise reading where the input is
// ASCII (no two-byte characters to step over), and its invariants everywhere.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "submit/resolve_answer.h"
#include "submit/service_requests.h"

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

// Every byte from 0x80 up leads a two-byte character whose second byte is no ASCII punctuation,
// as in any code page 936 text; elsewhere a quote may hide inside a character and survive.
bool well_formed(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 0x80) continue;
        if (++i == text.size() || static_cast<unsigned char>(text[i]) < 0x40) return false;
    }
    return true;
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
    std::string answer(reinterpret_cast<const char*>(data),
                       strnlen(reinterpret_cast<const char*>(data), size));
    brindor::TaskFields fields{"c", "t", "n", "f", "s"};
    brindor::ParseResolveAnswer(answer.c_str(), fields);

    const bool quotes_gone = well_formed(answer);
    for (const brindor::Text* field :
         {&fields.cid, &fields.tsize, &fields.title, &fields.findex, &fields.size})
        check((!quotes_gone || !std::strchr(field->c_str(), '\'')) && field->length() <= answer.size() + 1);

    bool ascii = true;
    for (unsigned char byte : answer)
        ascii = ascii && byte < 0x80;
    if (ascii) {
        std::vector<std::string> scalars = split(between_first(answer, "queryUrl", "new Array"), ",");
        auto scalar = [&](size_t n, const char* previous) {
            return scalars.size() >= n ? replace_all(scalars[n - 1], "'", "") : std::string(previous);
        };
        check(scalar(2, "c") == fields.cid.c_str());
        check(scalar(3, "t") == fields.tsize.c_str());
        check(scalar(4, "n") == fields.title.c_str());
        std::vector<std::string> arrays = split(answer, "new Array");
        check((arrays.size() >= 4 ? join(arrays[3]) : "s") == fields.size.c_str());
        check((arrays.size() >= 7 ? join(arrays[6]) : "f") == fields.findex.c_str());
        check(join(answer) == brindor::JoinArrayValues(answer.c_str()).c_str());
    }

    check_escaped(answer, brindor::EscapeLinkForQuery(answer.c_str()).c_str());
    brindor::ResolveAnswerStillUtf8(answer.c_str(), answer.c_str());
    return 0;
}
