#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/win/clipboard_ops.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

// Open for the lifetime of the scope.
class OpenClipboardScope {
  public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

  private:
    bool open_;
};

} // namespace

bool set_clipboard_text(HWND owner, const char* text) {
    const std::wstring wide = to_wide(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(block);
    OpenClipboardScope clipboard(owner);
    // Once handed over, the block belongs to the clipboard.
    if (!clipboard.open() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

Text clipboard_text(HWND owner) {
    return read_clipboard_text(owner, SIZE_MAX).text;
}

ClipboardRead read_clipboard_text(HWND owner, size_t most_units) {
    ClipboardRead read;
    OpenClipboardScope clipboard(owner);
    read.opened = clipboard.open();
    if (!read.opened) return read;
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block) return read;
    const auto* wide = static_cast<const wchar_t*>(GlobalLock(block));
    if (!wide) return read;
    // The block may be larger than its text and need not end in a zero unit.
    const size_t capacity = GlobalSize(block) / sizeof(wchar_t);
    const size_t limit = capacity < most_units ? capacity : most_units;
    size_t length = 0;
    while (length < limit && wide[length])
        ++length;
    read.cut_short = length == most_units && length < capacity && wide[length];
    read.text = from_wide(wide, static_cast<int>(length));
    GlobalUnlock(block);
    return read;
}

} // namespace brindor
