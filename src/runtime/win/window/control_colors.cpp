#include "runtime/win/window/control_colors.h"

namespace brindor {

ControlColors::ControlColors(const ControlDefinition& definition)
    : text_(definition.text_color), back_(definition.back_color) {
    if (back_ != kDefaultColor) brush_ = CreateSolidBrush(back_);
}

ControlColors::~ControlColors() {
    if (brush_) DeleteObject(brush_);
}

HBRUSH ControlColors::apply(HDC dc, int default_background) const {
    if (text_ == kDefaultColor && back_ == kDefaultColor) return nullptr;
    SetTextColor(dc, text_ != kDefaultColor ? text_ : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, back_ != kDefaultColor ? back_ : GetSysColor(default_background));
    return brush_ ? brush_ : GetSysColorBrush(default_background);
}

} // namespace brindor
