// Label: a static text with an optional font and colours of its own.
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/control_colors.h"
#include "runtime/win/window/control_kinds.h"
#include "runtime/win/window/window_dpi.h"
#include "runtime/win/window/window_text.h"

namespace brindor {

namespace {

HFONT create_font(const FontDefinition& font, int dpi) {
    std::wstring face = to_wide(font.face);
    LOGFONTW lf{};
    lf.lfHeight =
        -scale_for_dpi(font.height, kDefinitionDpi, dpi); // negative: the character height, not the cell
    lf.lfWeight = font.weight;
    lf.lfCharSet = font.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

class Label final : public TextControl {
  public:
    explicit Label(const ControlDefinition& d) : TextControl(d), colors_(d) {}

    bool create(HWND parent) override {
        if (!create_child(parent, L"STATIC", SS_LEFT | SS_NOPREFIX)) return false;
        if (definition().font) set_own_font(kDefinitionDpi, false);
        return true;
    }

    void apply_dpi(int dpi, HFONT gui_font) override {
        if (definition().font)
            set_own_font(dpi, true);
        else
            TextControl::apply_dpi(dpi, gui_font);
    }

    HBRUSH on_color(HDC dc) override { return colors_.apply(dc, COLOR_BTNFACE); }

  private:
    void set_own_font(int dpi, bool redraw) {
        auto font = std::make_unique<GdiFont>(create_font(*definition().font, dpi));
        if (!font->get()) return;
        SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font->get()), redraw);
        font_ = std::move(font);
    }

    ControlColors colors_;
    std::unique_ptr<GdiFont> font_;
};

} // namespace

std::unique_ptr<Control> make_label(const ControlDefinition& d) {
    return std::make_unique<Label>(d);
}

} // namespace brindor
