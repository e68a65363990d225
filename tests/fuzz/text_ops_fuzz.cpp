// Checks the double-byte aware text operations against their literal reference versions on
// GBK-like input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/core/text_ops.h"
#include "runtime/core/conversions.h"
#include "text_ops_reference.h"
#include "text_array_members.h"
#include "fuzz_input.h"

using namespace brindor;

namespace {

// A small alphabet makes matches, lead bytes and full-width spaces frequent.
const unsigned char kAlphabet[] = {'a',  'A',  'b',  ',',  ' ',  ':',  '\t', 0xA1,
                                   0xA1, 0xB0, 0xA3, 0xB1, 0x81, 0x40, 'x',  '0'};

struct Input : FuzzInput {
    // A NUL-free piece of up to max bytes, raw or mapped onto the alphabet.
    std::string piece(size_t max, bool mapped) {
        size_t n = next() % (max + 1);
        std::string s;
        for (size_t i = 0; i < n && size; ++i) {
            uint8_t b = next();
            b = mapped ? kAlphabet[b % sizeof kAlphabet] : b;
            s += static_cast<char>(b ? b : 'z');
        }
        return s;
    }
};

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{{data, size}};
    uint8_t flags = in.next();
    bool mapped = !(flags & 1), ignore_case = flags & 2, case_sensitive = flags & 4;
    int start = static_cast<int8_t>(in.next());
    int count = static_cast<int8_t>(in.next()) % 8;
    std::string sought = in.piece(flags & 8 ? 40 : 4, mapped);
    std::string replacement = in.piece(3, mapped);
    std::string text = in.piece(4096, mapped);
    const char* t = text.c_str();
    int length = static_cast<int>(text.size());

    int found = find_text(t, sought.c_str(), start, ignore_case);
    check(found == reference::find(text, sought, start, ignore_case), "find_text");
    check(found == -1 || (found >= 1 && found + static_cast<int>(sought.size()) - 1 <= length), "find range");

    int reverse_start = flags & 16 ? kWholeText : start;
    int last = find_text_reverse(t, sought.c_str(), reverse_start, ignore_case);
    check(last == reference::find_reverse(text, sought, reverse_start, ignore_case), "find_text_reverse");

    int maximum = flags & 32 ? kNoLimit : count;
    check(members(split_text(t, sought.c_str(), maximum)) == reference::split(text, sought, maximum),
          "split_text");

    int replace_count = flags & 64 ? kNoLimit : count;
    Text replaced =
        replace_text(t, sought.c_str(), replacement.c_str(), start, replace_count, case_sensitive);
    check(replaced ==
              reference::replace(text, sought, replacement, start, replace_count, case_sensitive).c_str(),
          "replace_text");

    check(trim(t) == reference::trim(text).c_str(), "trim");

    int mid_start = start, mid_count = count * 3;
    std::string expected_mid =
        mid_start < 1 || mid_count <= 0 || mid_start > length
            ? ""
            : text.substr(static_cast<size_t>(mid_start) - 1, static_cast<size_t>(mid_count));
    check(mid_text(t, mid_start, mid_count) == expected_mid.c_str(), "mid_text");

    Text lower = to_lower(t);
    check(lower.length() == text.size(), "to_lower length");
    Text spaceless = remove_all_spaces(t);
    check(find_text(spaceless, " ") == -1 && find_text(spaceless, "\xA1\xA1") == -1, "remove_all_spaces");

    // Conversions must not read past the text whatever it holds.
    (void)to_integer(t);
    (void)to_double(t);
    return 0;
}
