#include "app/import/win/read_lines_to_list.h"

#include <algorithm>
#include <utility>

#include "app/import/link_lines.h"
#include "app/import/text_mark.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/file_ops.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

constexpr size_t kChunkSize = 64 * 1024;
constexpr size_t kLargestRead = 256 * 1024 * 1024;

void read_plain_lines(int file, TextArray& lines) {
    do {
        AppendLinkLine(lines, read_line(file));
    } while (!at_end_of_file(file));
}

// Each read asks for as much as has been read so far, so a large file costs few reallocations.
Bytes read_rest(int file) {
    Bytes all;
    for (;;) {
        size_t want = std::min<size_t>(std::max<size_t>(all.size(), kChunkSize), kLargestRead);
        Bytes chunk = read_bytes(file, static_cast<int>(want));
        if (chunk.empty()) return all;
        all.append(chunk.data(), chunk.size());
    }
}

// The marked file's text after its mark, in the program's code page.
Bytes read_marked_text(int file, TextMark mark) {
    Bytes body = read_rest(file);
    // Not Utf8BytesToGbk: its composite check costs seconds on a file of many links.
    if (mark == TextMark::Utf8) return Utf16BytesToGbk(Utf8BytesToUtf16(body));
    if (mark == TextMark::Utf16BigEndian) {
        uint8_t* bytes = body.mutable_data();
        for (size_t i = 0; i + 1 < body.size(); i += 2)
            std::swap(bytes[i], bytes[i + 1]);
    }
    return Utf16BytesToGbk(body);
}

} // namespace

bool ReadLinkFile(const FileName& file_name, TextArray& list) {
    int file = open_file(file_name, kFileRead, kShareExclusive);
    if (file == 0) return false;
    TextArray lines;
    if (seek_begin(file)) {
        Bytes head = read_bytes(file, 3);
        TextMark mark = FindTextMark(head.data(), head.size());
        if (seek_begin(file)) {
            if (mark == TextMark::None) {
                read_plain_lines(file, lines);
            } else {
                read_bytes(file, static_cast<int>(TextMarkLength(mark)));
                Bytes text = read_marked_text(file, mark);
                AppendLinkLines(lines, reinterpret_cast<const char*>(text.data()), text.size());
            }
        }
    }
    close_file(file);
    list = std::move(lines);
    return true;
}

void ReadLinesToList(const FileName& file_name, TextArray& list) {
    if (!ReadLinkFile(file_name, list)) message_box(kCannotOpenLinkFile, 0, "提示");
}

} // namespace brindor::app
