// The acceptance rule on arbitrary answers, statuses and callbacks, against a plain reading of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "submit/commit_body.h"

using namespace brindor;

namespace {

const char* const kWords[] = {"jsonp1", "(", ")", ";", " ", "\r\n", "null", "{\"id\":\"1\"}", "jsonp"};

bool Space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool Expected(const std::string& text, int status, const std::string& callback) {
    if (text.empty() || status < 200 || status > 299 || callback.empty()) return false;
    if (text.find("null") != std::string::npos) return false;
    size_t begin = 0, end = text.size();
    while (begin < end && Space(text[begin]))
        ++begin;
    while (end > begin && Space(text[end - 1]))
        --end;
    if (end > begin && text[end - 1] == ';') --end;
    std::string call = text.substr(begin, end - begin);
    return call.size() >= callback.size() + 2 && call.compare(0, callback.size(), callback) == 0 &&
           call[callback.size()] == '(' && call.back() == ')';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    int status = static_cast<int>(in.next()) * 3 - 100 + (in.next() & 1 ? 200 : 0);
    std::string callback = in.piece(kWords, 4), text = in.piece(kWords, 40);
    bool accepted = IsCommitAccepted(ServiceAnswer{Text(text.c_str()), status, Text(callback.c_str())});
    Check(accepted == Expected(text, status, callback));
    return 0;
}
