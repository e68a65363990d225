#include "app/import/pasted_links.h"

#include <algorithm>
#include <cstring>

#include "app/import/link_lines.h"
#include "runtime/core/line_reader.h"

namespace brindor::app {

namespace {

class TextLineSource : public LineSource {
  public:
    explicit TextLineSource(TextRef text) : bytes_(text.c_str()), size_(std::strlen(text.c_str())) {}

    int read_block(uint8_t* buffer, int capacity) override {
        const size_t n = std::min(size_ - position_, static_cast<size_t>(capacity));
        std::memcpy(buffer, bytes_ + position_, n);
        position_ += n;
        return static_cast<int>(n);
    }
    bool move_position(int64_t offset) override {
        const int64_t target = static_cast<int64_t>(position_) + offset;
        if (target < 0) return false;
        position_ = std::min(static_cast<size_t>(target), size_);
        return true;
    }
    void move_to_end() override { position_ = size_; }
    bool at_end() const { return position_ >= size_; }

  private:
    const char* bytes_;
    size_t size_;
    size_t position_ = 0;
};

} // namespace

TextArray LinksFromText(TextRef text) {
    TextLineSource source(text);
    TextArray links;
    while (!source.at_end())
        AppendLinkLine(links, read_line(source));
    return links;
}

} // namespace brindor::app
