#include "runtime/core/occurrence_scanner.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace brindor {

namespace {

unsigned char fold_ascii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

bool equal_ignoring_ascii_case(const unsigned char* a, const unsigned char* b, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (fold_ascii(a[i]) != fold_ascii(b[i])) return false;
    return true;
}

// Below this length the first-byte scan with memchr wins; above it the skip tables pay off and
// keep long periodic patterns from degrading into a byte-by-byte comparison at every position.
constexpr size_t kLongSought = 16;

} // namespace

struct OccurrenceScanner::LongSearcher {
    std::boyer_moore_searcher<const unsigned char*> searcher;
};

OccurrenceScanner::OccurrenceScanner(const char* text, size_t length, const char* sought,
                                     size_t sought_length, bool ignore_case, size_t base)
    : text_(reinterpret_cast<const unsigned char*>(text)), length_(length),
      sought_(reinterpret_cast<const unsigned char*>(sought)), sought_length_(sought_length),
      ignore_case_(ignore_case), known_start_(base) {
    if (!ignore_case_ && sought_length_ >= kLongSought && sought_length_ <= length_)
        long_searcher_.reset(new LongSearcher{{sought_, sought_ + sought_length_}});
}

OccurrenceScanner::~OccurrenceScanner() = default;

size_t OccurrenceScanner::next_candidate(size_t from) const {
    if (sought_length_ == 0 || sought_length_ > length_) return npos;
    const size_t last = length_ - sought_length_; // last position an occurrence may begin
    if (from > last) return npos;
    if (long_searcher_) {
        auto hit = long_searcher_->searcher(text_ + from, text_ + length_).first;
        return hit == text_ + length_ ? npos : static_cast<size_t>(hit - text_);
    }
    if (ignore_case_) {
        const unsigned char first = fold_ascii(sought_[0]);
        for (size_t p = from; p <= last; ++p)
            if (fold_ascii(text_[p]) == first &&
                equal_ignoring_ascii_case(text_ + p, sought_, sought_length_))
                return p;
        return npos;
    }
    for (size_t p = from; p <= last;) {
        const void* hit = std::memchr(text_ + p, sought_[0], last - p + 1);
        if (!hit) return npos;
        p = static_cast<size_t>(static_cast<const unsigned char*>(hit) - text_);
        if (std::memcmp(text_ + p + 1, sought_ + 1, sought_length_ - 1) == 0) return p;
        ++p;
    }
    return npos;
}

// Bytes below 0x80 never lead a character, so the position after one is a character start;
// from there a run of lead bytes pairs up. Only the run just before position is read, and
// known_start_ moves forward past it, so a whole scan reads each byte at most once here.
bool OccurrenceScanner::starts_character(size_t position) {
    size_t run_start = position;
    while (run_start > known_start_ && is_lead_byte(text_[run_start - 1]))
        --run_start;
    bool starts = (position - run_start) % 2 == 0;
    known_start_ = starts ? position : position + 1;
    return starts;
}

size_t OccurrenceScanner::find(size_t from) {
    known_start_ = std::max(known_start_, from);
    for (size_t p = from;;) {
        size_t candidate = next_candidate(p);
        if (candidate == npos) return npos;
        if (starts_character(candidate)) return candidate;
        p = candidate + 1; // the candidate was a second byte; the next byte starts a character
    }
}

} // namespace brindor
