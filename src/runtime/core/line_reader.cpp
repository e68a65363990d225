#include "runtime/core/line_reader.h"

#include <cstring>

#include "runtime/core/memory.h"

namespace brindor {

namespace {

constexpr uint8_t kLineFeed = 10;
constexpr uint8_t kCarriageReturn = 13;

// The bytes of one line, grown by doubling so that a long line costs linear time.
class LineBuffer {
  public:
    LineBuffer() = default;
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;
    ~LineBuffer() { release(bytes_); }

    void append(const uint8_t* data, size_t length) {
        if (length == 0) return;
        if (size_ + length + 1 > capacity_) {
            // A line that ends in its first block gets a block of its own size: a list of a
            // million short lines must not hold a kilobyte per line.
            size_t wanted = capacity_ ? capacity_ * 2 : size_ + length + 1;
            while (wanted < size_ + length + 1)
                wanted *= 2;
            bytes_ = static_cast<char*>(reallocate(bytes_, wanted));
            capacity_ = wanted;
        }
        std::memcpy(bytes_ + size_, data, length);
        size_ += length;
    }

    // The line without one final CR.
    Text finish() {
        if (size_ && bytes_[size_ - 1] == kCarriageReturn) --size_;
        if (size_ == 0) return {};
        bytes_[size_] = '\0';
        char* block = bytes_;
        bytes_ = nullptr;
        size_ = capacity_ = 0;
        return Text::adopt(block);
    }

  private:
    char* bytes_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

Text fail(LineSource& source) {
    source.move_to_end();
    return {};
}

} // namespace

Text read_line(LineSource& source) {
    LineBuffer line;
    uint8_t block[kLineBlockSize];
    bool at_line_start = true;
    for (;;) {
        int count = source.read_block(block, kLineBlockSize);
        if (count < 0 || count > kLineBlockSize) return fail(source);
        if (count == 0) return line.finish();
        if (at_line_start && is_line_stop_byte(block[0])) {
            // Left on such a byte by the previous line: step past it, or reading would never end.
            if (!source.move_position(1 - count)) return fail(source);
            return {};
        }
        at_line_start = false;
        for (int i = 0; i < count; ++i) {
            bool line_feed = block[i] == kLineFeed;
            if (!line_feed && !is_line_stop_byte(block[i])) continue;
            line.append(block, i);
            int consumed = line_feed ? i + 1 : i;
            if (!source.move_position(consumed - count)) return fail(source);
            return line.finish();
        }
        line.append(block, count);
    }
}

} // namespace brindor
