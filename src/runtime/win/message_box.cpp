#include "runtime/win/dialog_ops.h"

#include "runtime/win/text_boundary.h"

namespace brindor {

int message_box(const char* content, int buttons, const char* title) {
    UINT style = static_cast<UINT>(buttons);
    if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    std::wstring wide_content = to_wide(content);
    std::wstring wide_title = to_wide(title ? title : "信息：");
    int pressed = MessageBoxW(nullptr, wide_content.c_str(), wide_title.c_str(), style);
    // IDOK .. IDNO are 1 .. 7, in the order of the results.
    return pressed >= IDOK && pressed <= IDNO ? pressed - IDOK : -1;
}

} // namespace brindor
