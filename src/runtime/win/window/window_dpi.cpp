#include "runtime/win/window/window_dpi.h"

#include <commctrl.h>

#include <algorithm>

#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// Windows 10 has these; Windows 7 and 8.1 have one DPI for the whole system.
template <class F> F user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int system_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDefinitionDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefinitionDpi;
}

// The frame around a client area at `dpi` for a window of `style`: how far each side of the outer
// rectangle lies out.
RECT frame_for_dpi(DWORD style, DWORD ex_style, int dpi) {
    RECT r{};
    static const auto adjust = user32_function<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjust && adjust(&r, style, FALSE, ex_style, static_cast<UINT>(dpi)))
        return {-r.left, -r.top, r.right, r.bottom};
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
    int system = system_dpi();
    return {scale_for_dpi(-r.left, system, dpi), scale_for_dpi(-r.top, system, dpi),
            scale_for_dpi(r.right, system, dpi), scale_for_dpi(r.bottom, system, dpi)};
}

DWORD style_of(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}
DWORD ex_style_of(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
}

void scale_columns(HWND list, int from_dpi, int to_dpi) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < columns; ++i) {
        int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
        SendMessageW(list, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(scale_for_dpi(width, from_dpi, to_dpi), 0));
    }
}

void scale_control(Control& control, int from_dpi, int to_dpi, HFONT font) {
    HWND h = control.handle();
    if (!h) return;
    RECT r = rect_in_parent(h);
    SetWindowPos(h, nullptr, scale_for_dpi(r.left, from_dpi, to_dpi), scale_for_dpi(r.top, from_dpi, to_dpi),
                 scale_for_dpi(r.right - r.left, from_dpi, to_dpi),
                 scale_for_dpi(r.bottom - r.top, from_dpi, to_dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    control.apply_dpi(to_dpi, font);
    if (control.definition().kind == ControlKind::ListView) scale_columns(h, from_dpi, to_dpi);
}

} // namespace

int dpi_of_window(HWND window) {
    static const auto for_window = user32_function<DpiForWindow>("GetDpiForWindow");
    int dpi = for_window ? static_cast<int>(for_window(window)) : 0;
    return dpi > 0 ? dpi : system_dpi();
}

HFONT gui_font_for_dpi(LoadedWindow& loaded, int dpi) {
    auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    int system = system_dpi();
    if (dpi == system) {
        loaded.gui_font.reset();
        return stock;
    }
    LOGFONTW font{};
    GetObjectW(stock, sizeof font, &font);
    font.lfHeight = scale_for_dpi(font.lfHeight, system, dpi);
    font.lfWidth = 0;
    loaded.gui_font = std::make_unique<GdiFont>(CreateFontIndirectW(&font));
    return loaded.gui_font->get() ? loaded.gui_font->get() : stock;
}

void fit_new_window_to_dpi(LoadedWindow& loaded) {
    int dpi = dpi_of_window(loaded.handle);
    if (dpi != loaded.dpi) return rescale_window(loaded, dpi, nullptr);
    // A monitor at 96 DPI on a system of another DPI: the stock font is the system's size.
    if (dpi == system_dpi()) return;
    HFONT font = gui_font_for_dpi(loaded, dpi);
    for (auto& control : loaded.controls)
        control->apply_dpi(dpi, font);
}

void rescale_window(LoadedWindow& loaded, int dpi, const RECT* position) {
    if (dpi <= 0 || dpi == loaded.dpi) return;
    // The old font stays alive until every control has let go of it.
    std::unique_ptr<GdiFont> old_font = std::move(loaded.gui_font);
    HFONT font = gui_font_for_dpi(loaded, dpi);
    for (auto& control : loaded.controls)
        scale_control(*control, loaded.dpi, dpi, font);
    loaded.dpi = dpi;

    const SIZE size = window_size_for_dpi(loaded.definition, loaded.handle, dpi);
    // A window the user has sized keeps the size the system suggests for the new DPI.
    const bool keep = position && loaded.definition.resizable;
    const int width = keep ? std::max(size.cx, position->right - position->left) : size.cx;
    const int height = keep ? std::max(size.cy, position->bottom - position->top) : size.cy;
    int left = position ? position->left : (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = position ? position->top : (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(loaded.handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    lay_out_window(loaded);
}

// The client area the controls' places are drawn for: the definition's outer size is that of a
// fixed border, and a sizing frame takes a little more of it.
static SIZE designed_client_size(const WindowDefinition& d, HWND window, int dpi) {
    const RECT frame96 =
        frame_for_dpi(style_of(window) & ~WS_THICKFRAME, ex_style_of(window), kDefinitionDpi);
    return {scale_for_dpi(d.width - frame96.left - frame96.right, kDefinitionDpi, dpi),
            scale_for_dpi(d.height - frame96.top - frame96.bottom, kDefinitionDpi, dpi)};
}

SIZE window_size_for_dpi(const WindowDefinition& d, HWND window, int dpi) {
    // The definition's outer size with the window's own frame at 96 DPI; the client area scales.
    const RECT frame96 = frame_for_dpi(style_of(window), ex_style_of(window), kDefinitionDpi);
    const RECT frame = frame_for_dpi(style_of(window), ex_style_of(window), dpi);
    return {scale_for_dpi(d.width - frame96.left - frame96.right, kDefinitionDpi, dpi) + frame.left +
                frame.right,
            scale_for_dpi(d.height - frame96.top - frame96.bottom, kDefinitionDpi, dpi) + frame.top +
                frame.bottom};
}

void lay_out_window(LoadedWindow& loaded) {
    RECT client{};
    if (!loaded.complete || IsIconic(loaded.handle) || !GetClientRect(loaded.handle, &client)) return;
    const SIZE designed = designed_client_size(loaded.definition, loaded.handle, loaded.dpi);
    const int grown_x = client.right - designed.cx, grown_y = client.bottom - designed.cy;
    const auto scaled = [&](int value) { return scale_for_dpi(value, kDefinitionDpi, loaded.dpi); };
    for (auto& control : loaded.controls) {
        const ControlDefinition& c = control->definition();
        if (!c.anchor || !control->handle()) continue;
        int top = scaled(c.top), width = scaled(c.width), height = scaled(c.height);
        if (c.anchor & kGrowWidth) width += grown_x;
        if (c.anchor & kGrowHeight) height += grown_y;
        if (c.anchor & kFollowBottom) top += grown_y;
        SetWindowPos(control->handle(), nullptr, scaled(c.left), top, std::max(width, 0), std::max(height, 0),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // A label laid out anew (a wrapped line now on one) would keep the old text's pixels.
        InvalidateRect(control->handle(), nullptr, TRUE);
        control->on_resized();
    }
}

} // namespace brindor
