// Label: a static text with an optional font and colours of its own.
#include <cstdlib>

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/control_colors.h"
#include "runtime/win/window/control_kinds.h"
#include "runtime/win/window/window_dpi.h"
#include "runtime/win/window/window_text.h"

namespace brindor {

namespace {

LOGFONTW logical_font(const FontDefinition& font, int dpi) {
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
    return lf;
}

class Label final : public TextControl {
  public:
    explicit Label(const ControlDefinition& d) : TextControl(d), colors_(d) {}

    bool create(HWND parent) override {
        if (!create_child(parent, L"STATIC",
                          (definition().one_line ? SS_LEFTNOWORDWRAP : SS_LEFT) | SS_NOPREFIX))
            return false;
        gui_font_ = reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0));
        if (owns_font()) set_own_font(kDefinitionDpi, false);
        return true;
    }

    void apply_dpi(int dpi, HFONT gui_font) override {
        dpi_ = dpi;
        gui_font_ = gui_font;
        if (owns_font())
            set_own_font(dpi, true);
        else
            TextControl::apply_dpi(dpi, gui_font);
    }

    void write(int number, const PropertyValue& value) override {
        TextControl::write(number, value);
        if (number == 8 && definition().shrink_to_fit) set_own_font(dpi_, true);
    }

    void on_resized() override {
        if (definition().shrink_to_fit) set_own_font(dpi_, true);
    }

    HBRUSH on_color(HDC dc) override { return colors_.apply(dc, COLOR_BTNFACE); }

  private:
    bool owns_font() const { return definition().font || definition().shrink_to_fit; }

    // The definition's font (else the window's), or with shrink_to_fit the largest down from it that
    // shows the whole text.
    void set_own_font(int dpi, bool redraw) {
        LOGFONTW wanted{};
        if (definition().font)
            wanted = logical_font(*definition().font, dpi);
        else if (!gui_font_ || !GetObjectW(gui_font_, sizeof wanted, &wanted))
            return;
        wanted.lfWidth = 0;
        // Smaller in steps of a pixel, whether the height is the character's (negative) or the cell's.
        const LONG step = wanted.lfHeight < 0 ? 1 : -1;
        const LONG smallest = scale_for_dpi(kSmallestFit, kDefinitionDpi, dpi);
        auto font = std::make_unique<GdiFont>(CreateFontIndirectW(&wanted));
        while (definition().shrink_to_fit && font->get() && std::abs(wanted.lfHeight) > smallest &&
               !fits(font->get())) {
            wanted.lfHeight += step;
            font = std::make_unique<GdiFont>(CreateFontIndirectW(&wanted));
        }
        if (!font->get()) return;
        SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font->get()), redraw);
        font_ = std::move(font);
    }

    // As the label draws it: broken into lines where they may break.
    bool fits(HFONT font) const {
        const std::wstring text = to_wide(get_window_text(handle()).c_str());
        RECT room{};
        GetClientRect(handle(), &room);
        RECT needed = room;
        HDC dc = GetDC(handle());
        HGDIOBJ old = SelectObject(dc, font);
        const UINT lines = definition().one_line ? DT_SINGLELINE : DT_WORDBREAK;
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | lines | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(handle(), dc);
        return needed.right <= room.right && needed.bottom <= room.bottom;
    }

    static constexpr int kSmallestFit = 9; // pixels at 96 DPI: smaller is not read at a glance

    ControlColors colors_;
    std::unique_ptr<GdiFont> font_;
    HFONT gui_font_ = nullptr; // the window's, not ours
    int dpi_ = kDefinitionDpi;
};

} // namespace

std::unique_ptr<Control> make_label(const ControlDefinition& d) {
    return std::make_unique<Label>(d);
}

} // namespace brindor
