#include "remote_memory.h"

namespace driver {

RemoteMemory::RemoteMemory(HWND owner, size_t size) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(owner, &process_id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    if (!process_) throw Failure{L"cannot open the window's process"};
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) {
        CloseHandle(process_);
        throw Failure{L"cannot allocate memory in the window's process"};
    }
}

RemoteMemory::~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

void RemoteMemory::write(size_t offset, const void* data, size_t size) {
    SIZE_T done = 0;
    if (!WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) ||
        done != size)
        throw Failure{L"cannot write the window's process memory"};
}

void RemoteMemory::read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) ||
        done != size)
        throw Failure{L"cannot read the window's process memory"};
}

} // namespace driver
