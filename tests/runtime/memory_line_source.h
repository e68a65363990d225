// A LineSource over bytes in memory, with reads cut short and failures on demand, and the
// straightforward whole-buffer splitting that read_line must agree with.
#pragma once
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/line_reader.h"

namespace brindor::testing {

class MemoryLineSource : public LineSource {
  public:
    explicit MemoryLineSource(std::string bytes, int largest_read = kLineBlockSize)
        : bytes_(std::move(bytes)), largest_read_(largest_read) {}

    int read_block(uint8_t* buffer, int capacity) override {
        ++reads_;
        if (fail_at_read_ && reads_ >= fail_at_read_) return -1;
        size_t left = bytes_.size() - std::min(position_, bytes_.size());
        size_t n =
            std::min<size_t>({left, static_cast<size_t>(capacity), static_cast<size_t>(largest_read_)});
        if (n) std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return static_cast<int>(n);
    }
    bool move_position(int64_t offset) override {
        int64_t target = static_cast<int64_t>(position_) + offset;
        if (target < 0) return false;
        position_ = static_cast<size_t>(target);
        return true;
    }
    void move_to_end() override { position_ = bytes_.size(); }

    size_t position() const { return position_; }
    bool at_end() const { return position_ >= bytes_.size(); }
    int reads() const { return reads_; }
    void fail_from_read(int n) { fail_at_read_ = n; }

  private:
    std::string bytes_;
    int largest_read_;
    size_t position_ = 0;
    int reads_ = 0;
    int fail_at_read_ = 0;
};

// Every line of `bytes` as successive read_line calls give them until the end.
inline std::vector<std::string> expected_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t position = 0;
    while (position < bytes.size()) {
        uint8_t first = static_cast<uint8_t>(bytes[position]);
        if (is_line_stop_byte(first)) {
            lines.emplace_back();
            ++position;
            continue;
        }
        size_t end = position;
        while (end < bytes.size() && bytes[end] != '\n' &&
               !is_line_stop_byte(static_cast<uint8_t>(bytes[end])))
            ++end;
        std::string line = bytes.substr(position, end - position);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        position = end < bytes.size() && bytes[end] == '\n' ? end + 1 : end;
    }
    return lines;
}

} // namespace brindor::testing
