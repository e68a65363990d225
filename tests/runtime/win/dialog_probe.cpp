// Shows one message box or open-file dialog for the end-to-end driver to answer, and logs the outcome.
// Usage: dialog_probe box BUTTONS CONTENT [TITLE]   (no TITLE: the title is omitted)
//        dialog_probe open FILTER [FILE_NAME]
// Arguments are read as UTF-16; BRINDOR_PROBE_LOG names a file that receives UTF-8 lines.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/win/dialog_ops.h"
#include "runtime/win/text_boundary.h"

using namespace brindor;

namespace {

std::string utf8(const std::wstring& wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), int(wide.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

Text gbk(const std::wstring& wide) {
    int size = WideCharToMultiByte(kProgramCodePage, 0, wide.c_str(), int(wide.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(kProgramCodePage, 0, wide.c_str(), int(wide.size()), bytes.data(), size, nullptr,
                        nullptr);
    return Text(bytes.data(), bytes.size());
}

void log_line(const std::string& line) {
    const char* path = std::getenv("BRINDOR_PROBE_LOG");
    if (!path) return;
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

// A top-level window of the calling thread, so the driver can see whether the box disables it.
HWND show_bystander() {
    return CreateWindowExW(0, L"STATIC", L"dialog probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 240, 120,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

int run_box(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    HWND bystander = show_bystander();
    Text content = gbk(argv[3]);
    Text title = argc > 4 ? gbk(argv[4]) : Text();
    int result = message_box(content.c_str(), _wtoi(argv[2]), argc > 4 ? title.c_str() : nullptr);
    log_line("result " + std::to_string(result));
    log_line(std::string("bystander enabled ") + (IsWindowEnabled(bystander) ? "1" : "0"));
    DestroyWindow(bystander);
    return 0;
}

int run_open(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    FileDialogProperties dialog;
    dialog.title = gbk(L"选择文件");
    dialog.filter = gbk(argv[2]);
    if (argc > 3) dialog.file_name = gbk(argv[3]);
    bool confirmed = dialog_open(dialog);
    log_line(std::string("result ") + (confirmed ? "1" : "0"));
    log_line("file " + utf8(to_wide(dialog.file_name.c_str())));
    return 0;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring mode = argc > 1 ? argv[1] : L"";
    log_line("started");
    int code = mode == L"box" ? run_box(argc, argv) : mode == L"open" ? run_open(argc, argv) : 2;
    LocalFree(argv);
    return code;
}
