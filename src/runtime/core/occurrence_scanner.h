// Finds occurrences of a sought text that begin on a character boundary, left to right, the way
// the double-byte aware searches step: one byte, or two for a lead byte (>= 0x80).
#pragma once
#include <cstddef>
#include <functional>
#include <memory>

namespace brindor {

inline bool is_lead_byte(unsigned char byte) {
    return byte >= 0x80;
}

class OccurrenceScanner {
  public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    // text[0, length) is searched; the caller keeps text and sought alive. base is the first
    // position, taken as the start of a character.
    OccurrenceScanner(const char* text, size_t length, const char* sought, size_t sought_length,
                      bool ignore_case, size_t base = 0);
    ~OccurrenceScanner();

    // First occurrence at or after from (a character start, not before the previous one asked
    // for), or npos. Occurrences end at or before the text's length.
    size_t find(size_t from);

  private:
    size_t next_candidate(size_t from) const;
    bool starts_character(size_t position);

    const unsigned char* text_;
    size_t length_;
    const unsigned char* sought_;
    size_t sought_length_;
    bool ignore_case_;
    size_t known_start_; // a character start at or before every position still to be checked
    struct LongSearcher;
    std::unique_ptr<LongSearcher> long_searcher_;
};

} // namespace brindor
