// The runtime-error box: system-modal, no owner, so it shows whichever thread failed.
#include <windows.h>

#include "runtime/core/runtime_error.h"
#include "runtime/win/program.h"
#include "runtime/win/text_boundary.h"

namespace brindor::platform {

void show_runtime_error_and_end(const char* report) {
    std::wstring text = to_wide(report);
    MessageBoxW(nullptr, text.c_str(), L"错误", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    end_program_after_error();
}

} // namespace brindor::platform
