// The commit form body on arbitrary service values: exactly the twelve fields in their order, and
// every value comes back byte for byte when the form is decoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "submit/service/commit_body.h"

using namespace brindor;

namespace {

const char* const kWords[] = {"&", "=", "%", "+", " ", "_", "0_1_", "%26", "\xB0\xA1", "uid="};

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Decode(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        Check(i + 2 < value.size() && Hex(value[i + 1]) >= 0 && Hex(value[i + 2]) >= 0);
        out += static_cast<char>(Hex(value[i + 1]) * 16 + Hex(value[i + 2]));
        i += 2;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    std::string uid = in.piece(kWords, 20), cid = in.piece(kWords, 20), tsize = in.piece(kWords, 20),
                findex = in.piece(kWords, 20), sizes = in.piece(kWords, 20);
    TaskFields fields{cid.c_str(), tsize.c_str(), "title", findex.c_str(), sizes.c_str()};
    std::string body = JoinCommitFields(uid.c_str(), "T", fields).c_str();

    std::vector<std::pair<std::string, std::string>> pairs;
    size_t from = 0;
    for (;;) {
        size_t end = body.find('&', from);
        std::string field = body.substr(from, end == std::string::npos ? std::string::npos : end - from);
        size_t eq = field.find('=');
        Check(eq != std::string::npos && field.find('=', eq + 1) == std::string::npos);
        pairs.emplace_back(field.substr(0, eq), field.substr(eq + 1));
        if (end == std::string::npos) break;
        from = end + 1;
    }
    const char* const names[] = {"uid",    "btname", "cid",      "goldbean", "silverbean", "tsize",
                                 "findex", "size",   "o_taskid", "o_page",   "class_id",   "interfrom"};
    Check(pairs.size() == 12);
    for (size_t i = 0; i < 12; ++i)
        Check(pairs[i].first == names[i]);
    Check(Decode(pairs[0].second) == uid && Decode(pairs[2].second) == cid &&
          Decode(pairs[5].second) == tsize && Decode(pairs[6].second) == findex &&
          Decode(pairs[7].second) == sizes);
    return 0;
}
