// Whether an answer arrived whole, on arbitrary Content-Length values, against a plain reading of
// the rule; and the redirect helpers on arbitrary Location values and header blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "net/body_completeness.h"
#include "net/redirect_rules.h"

using namespace brindor;

namespace {

const char* const kWords[] = {"1",       "0",        " ",  "\t", "\r\n", "Cookie:", "Authorization:",
                              "http://", "https://", "//", "/",  "?",    ":",       "h"};

// -1 unless optional blanks, decimal digits below 2^62, optional blanks.
int64_t Declared(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    if (i == digits) return -1;
    std::string number = text.substr(digits, i - digits);
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i != text.size()) return -1;
    size_t first = number.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    if (number.size() - first > 18) return -2; // too long for a plain check: only "not a crash"
    return std::stoll(number.substr(first));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    std::string length = in.piece(kWords, 24, '9');
    BodyReceipt receipt;
    receipt.received = in.next() * 37u;
    receipt.read_failed = in.next() & 1;
    receipt.timed_out = in.next() & 1;
    int64_t declared = Declared(length);
    bool complete = IsBodyComplete(length.c_str(), receipt);
    if (declared != -2) {
        Check(DeclaredLength(length.c_str()) == declared);
        bool expected = !receipt.read_failed && !receipt.timed_out &&
                        (declared < 0 || receipt.received >= static_cast<uint64_t>(declared));
        Check(complete == expected);
    }

    std::string location = in.piece(kWords, 24, '9'), base = in.piece(kWords, 24, '9'),
                block = in.piece(kWords, 24, '9');
    std::string next = ResolveLocation(location.c_str(), base.c_str()).c_str();
    Check(next.find("\r\n") == std::string::npos || location.find("\r\n") != std::string::npos ||
          base.find("\r\n") != std::string::npos);
    SameOrigin(next.c_str(), base.c_str());
    IsServiceOrigin(next.c_str());
    std::string kept = WithoutCredentialLines(block.c_str()).c_str();
    Check(kept.size() <= block.size());
    return 0;
}
