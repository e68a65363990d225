#include "net/body_completeness.h"

namespace brindor {

int64_t DeclaredLength(TextRef contentLength) {
    const char* p = contentLength.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p < '0' || *p > '9') return -1;
    int64_t length = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        // Beyond any body this program could hold: read as "no length" rather than overflow.
        if (length > (INT64_MAX - 9) / 10) return -1;
        length = length * 10 + (*p - '0');
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p ? -1 : length;
}

bool IsBodyComplete(TextRef contentLength, const BodyReceipt& receipt) {
    if (receipt.read_failed || receipt.timed_out) return false;
    int64_t declared = DeclaredLength(contentLength);
    return declared < 0 || receipt.received >= static_cast<uint64_t>(declared);
}

} // namespace brindor
