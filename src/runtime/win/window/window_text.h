// Window texts in the program's GBK, through the wide functions (safe from any thread).
#pragma once
#include <windows.h>

#include "runtime/core/text.h"

namespace brindor {

Text get_window_text(HWND window);
void set_window_text(HWND window, const char* text);

// Owner of a GDI font.
class GdiFont {
  public:
    GdiFont() = default;
    explicit GdiFont(HFONT font) : font_(font) {}
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;
    ~GdiFont() {
        if (font_) DeleteObject(font_);
    }
    HFONT get() const { return font_; }

  private:
    HFONT font_ = nullptr;
};

} // namespace brindor
