#include "commands.h"
#include "targets.h"

namespace driver {
namespace {

PROCESS_INFORMATION started{};

void forget_started() {
    if (started.hProcess) CloseHandle(started.hProcess);
    if (started.hThread) CloseHandle(started.hThread);
    started = {};
}

HANDLE started_process() {
    if (!started.hProcess) throw Failure{L"no program started"};
    return started.hProcess;
}

} // namespace

// Arguments: program path, its command-line arguments, working directory (default: the program's).
Reply start(const Args& args) {
    const std::wstring& path = arg(args, 0, L"program");
    std::wstring command_line = L"\"" + path + L"\"";
    if (args.size() > 1 && !args[1].empty()) command_line += L" " + args[1];
    std::wstring directory = args.size() > 2 ? args[2] : L"";
    if (directory.empty()) directory = path.substr(0, path.find_last_of(L"\\/") + 1);
    forget_started();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &started))
        throw Failure{L"cannot start " + path + L": error " + std::to_wstring(GetLastError())};
    prefer_process(started.dwProcessId);
    return Reply().add(int64_t(started.dwProcessId));
}

// Answer: the exit code as a signed decimal and in hexadecimal.
Reply wait_exit(const Args& args) {
    HANDLE process = started_process();
    DWORD timeout = DWORD(number_arg(args, 0, L"timeout", 10000));
    if (WaitForSingleObject(process, timeout) != WAIT_OBJECT_0) throw Failure{L"timeout: still running"};
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return Reply().add(int64_t(int32_t(code))).add_hex(code);
}

Reply kill(const Args&) {
    HANDLE process = started_process();
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    return {};
}

} // namespace driver
