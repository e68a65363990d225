// Scaling a loaded window from the 96-DPI geometry of its definition to the DPI it is shown at.
#pragma once
#include <windows.h>

namespace brindor {

struct LoadedWindow;
struct WindowDefinition;

constexpr int kDefinitionDpi = 96;

// The DPI of the window's monitor (the system's where Windows cannot tell per window).
int dpi_of_window(HWND window);
inline int scale_for_dpi(int value, int from_dpi, int to_dpi) {
    return MulDiv(value, to_dpi, from_dpi);
}

// Brings a window laid out for `loaded.dpi` to `dpi`: every control's rectangle, the fonts, the
// list columns and the window's size, so that its client area scales by the same ratio. With
// `position` the window goes there (WM_DPICHANGED's suggestion), otherwise it stays centred.
void rescale_window(LoadedWindow& loaded, int dpi, const RECT* position);
// A window just built from its definition, brought to the DPI of the monitor it is on. At 96 DPI on
// a system of 96 DPI nothing changes.
void fit_new_window_to_dpi(LoadedWindow& loaded);
// The outer size of the window at `dpi` when it shows its definition's client area; the smallest a
// resizable window can be.
SIZE window_size_for_dpi(const WindowDefinition& definition, HWND window, int dpi);
// Places the anchored controls for the window's client area: a window larger than its definition
// gives them the difference.
void lay_out_window(LoadedWindow& loaded);
// The font a control without a font of its own shows at `dpi`: the default GUI font, scaled.
HFONT gui_font_for_dpi(LoadedWindow& loaded, int dpi);

} // namespace brindor
