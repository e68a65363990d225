#include <vector>

#include "commands.h"
#include "targets.h"

namespace driver {
namespace {

PROCESS_INFORMATION started{};
// Programs started before the latest one; `kill` ends those still running too.
std::vector<HANDLE> earlier;

void forget_started() {
    if (started.hProcess) earlier.push_back(started.hProcess);
    if (started.hThread) CloseHandle(started.hThread);
    started = {};
}

HANDLE started_process() {
    if (!started.hProcess) throw Failure{L"no program started"};
    return started.hProcess;
}

// The driver's own environment with NAME=VALUE settings laid over it, as a CreateProcess block.
std::wstring environment_with(const Args& settings) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1)
            entries.emplace_back(entry);
        FreeEnvironmentStringsW(block);
    }
    for (const auto& setting : settings) {
        size_t equals = setting.find(L'=', 1);
        if (equals == std::wstring::npos) throw Failure{L"not NAME=VALUE: " + setting};
        std::wstring prefix = setting.substr(0, equals + 1);
        std::erase_if(entries, [&](const std::wstring& entry) {
            return CompareStringOrdinal(entry.c_str(), int(std::min(entry.size(), prefix.size())),
                                        prefix.c_str(), int(prefix.size()), TRUE) == CSTR_EQUAL;
        });
        entries.push_back(setting);
    }
    std::wstring block;
    for (const auto& entry : entries)
        block += entry + L'\0';
    return block + L'\0';
}

} // namespace

// Arguments: program path, its command-line arguments, working directory (default: the program's),
// then any number of NAME=VALUE settings added to the program's environment.
Reply start(const Args& args) {
    const std::wstring& path = arg(args, 0, L"program");
    std::wstring command_line = L"\"" + path + L"\"";
    if (args.size() > 1 && !args[1].empty()) command_line += L" " + args[1];
    std::wstring directory = args.size() > 2 ? args[2] : L"";
    if (directory.empty()) directory = path.substr(0, path.find_last_of(L"\\/") + 1);
    forget_started();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring desk = desktop_name();
    if (!desk.empty()) startup.lpDesktop = desk.data();
    std::wstring environment =
        environment_with(Args(args.begin() + std::min<size_t>(args.size(), 3), args.end()));
    if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(),
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
    earlier.push_back(started_process());
    for (HANDLE process : earlier)
        if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
        }
    earlier.pop_back();
    for (HANDLE process : earlier)
        CloseHandle(process);
    earlier.clear();
    return {};
}

} // namespace driver
