// The clipboard the program shares with the driver.
#include <cstring>

#include "commands.h"

namespace driver {
namespace {

class OpenClipboardScope {
  public:
    OpenClipboardScope() {
        for (int attempt = 0; attempt < 50 && !open_; ++attempt) {
            open_ = OpenClipboard(nullptr) != FALSE;
            if (!open_) Sleep(20);
        }
        if (!open_) throw Failure{L"the clipboard stays busy"};
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

  private:
    bool open_ = false;
};

} // namespace

// Answer: the clipboard's text (empty when it holds none).
Reply clipboard(const Args&) {
    OpenClipboardScope open;
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    const auto* text = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
    std::wstring value = text ? text : L"";
    if (text) GlobalUnlock(block);
    return Reply().add(value);
}

Reply set_clipboard(const Args& args) {
    const std::wstring& text = arg(args, 0, L"text");
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) throw Failure{L"no memory for the clipboard"};
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    OpenClipboardScope open;
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, block)) {
        GlobalFree(block);
        throw Failure{L"cannot set the clipboard"};
    }
    return {};
}

} // namespace driver
