// Splitting a byte stream into lines, one `read_line` at a time, independent of where the bytes
// come from (a Windows file, or memory in the tests and the fuzzer).
#pragma once
#include <cstdint>

#include "runtime/core/text.h"

namespace brindor {

constexpr int kLineBlockSize = 512;

// The file behind a line reader. Positions are byte offsets from the start.
class LineSource {
  public:
    virtual ~LineSource() = default;
    // Up to `capacity` bytes from the current position, which advances past them; 0 at the end,
    // -1 on an input/output error.
    virtual int read_block(uint8_t* buffer, int capacity) = 0;
    // Moves the position by `offset` bytes (negative moves back); false on failure.
    virtual bool move_position(int64_t offset) = 0;
    virtual void move_to_end() = 0;
};

// The bytes from the position up to the first LF, NUL or 0x1A (or the end), without one final CR.
// After an LF the position is just past it; after a NUL or 0x1A it is on that byte, and a call
// that starts on such a byte returns an empty line and steps past it, so reading always ends.
// An input/output error moves to the end and gives empty text.
Text read_line(LineSource& source);

// True for the bytes that end a line without being consumed by it.
inline bool is_line_stop_byte(uint8_t b) {
    return b == 0 || b == 0x1A;
}

} // namespace brindor
