// Text and background colours of a control from its definition (WM_CTLCOLOR*).
#pragma once
#include <windows.h>

#include "runtime/win/window/window_definition.h"

namespace brindor {

class ControlColors {
  public:
    explicit ControlColors(const ControlDefinition& definition);
    ControlColors(const ControlColors&) = delete;
    ControlColors& operator=(const ControlColors&) = delete;
    ~ControlColors();

    // Null when the definition keeps both default colours.
    HBRUSH apply(HDC dc, int default_background) const;

  private:
    uint32_t text_;
    uint32_t back_;
    HBRUSH brush_ = nullptr;
};

} // namespace brindor
