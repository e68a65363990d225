#include "runtime/win/file_ops.h"

#include <windows.h>

#include "runtime/core/line_reader.h"
#include "runtime/win/file_table.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

struct OpenRule {
    DWORD access;
    DWORD disposition;
};

// Indexed by mode 1 to 6.
constexpr OpenRule kModeRules[] = {
    {GENERIC_READ, OPEN_EXISTING},
    {GENERIC_WRITE, OPEN_EXISTING},
    {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},
    {GENERIC_WRITE, CREATE_ALWAYS},
    {GENERIC_WRITE, OPEN_ALWAYS},
    {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
};

// Indexed by share 1 to 4: what others may still do.
constexpr DWORD kShareRules[] = {
    FILE_SHARE_READ | FILE_SHARE_WRITE,
    FILE_SHARE_WRITE,
    FILE_SHARE_READ,
    0,
};

class HandleLineSource : public LineSource {
public:
    explicit HandleLineSource(HANDLE handle) : handle_(handle) {}

    int read_block(uint8_t* buffer, int capacity) override {
        DWORD count = 0;
        if (!ReadFile(handle_, buffer, static_cast<DWORD>(capacity), &count, nullptr)) return -1;
        return static_cast<int>(count);
    }
    bool move_position(int64_t offset) override {
        LARGE_INTEGER distance;
        distance.QuadPart = offset;
        return offset == 0 || SetFilePointerEx(handle_, distance, nullptr, FILE_CURRENT);
    }
    void move_to_end() override {
        LARGE_INTEGER zero{};
        SetFilePointerEx(handle_, zero, nullptr, FILE_END);
    }

private:
    HANDLE handle_;
};

bool position_and_size(HANDLE handle, int64_t& position, int64_t& size) {
    LARGE_INTEGER zero{}, here{}, length{};
    if (!SetFilePointerEx(handle, zero, &here, FILE_CURRENT) || !GetFileSizeEx(handle, &length)) return false;
    position = here.QuadPart;
    size = length.QuadPart;
    return true;
}

} // namespace

int open_file(const char* name, int mode, int share) {
    if (!name || !*name || mode < 1 || mode > 6 || share < 1 || share > 4) return 0;
    const OpenRule& rule = kModeRules[mode - 1];
    std::wstring wide_name = to_wide(name);
    FileHandle handle(CreateFileW(wide_name.c_str(), rule.access, kShareRules[share - 1], nullptr,
                                  rule.disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) return 0;
    return add_open_file(std::move(handle));
}

bool seek_begin(int file_number) {
    OpenFileRef file = find_open_file(file_number);
    if (!file) return false;
    std::lock_guard<std::mutex> lock(file->in_use);
    LARGE_INTEGER zero{};
    return SetFilePointerEx(file->handle.get(), zero, nullptr, FILE_BEGIN);
}

Text read_line(int file_number) {
    OpenFileRef file = find_open_file(file_number);
    if (!file) return {};
    std::lock_guard<std::mutex> lock(file->in_use);
    HandleLineSource source(file->handle.get());
    return read_line(source);
}

bool at_end_of_file(int file_number, bool stop_at_eof_mark) {
    OpenFileRef file = find_open_file(file_number);
    if (!file) return true;
    std::lock_guard<std::mutex> lock(file->in_use);
    HANDLE handle = file->handle.get();
    int64_t position = 0, size = 0;
    // A file that cannot say where it stands counts as ended, so reading loops stop.
    if (!position_and_size(handle, position, size)) return true;
    if (position >= size) return true;
    if (!stop_at_eof_mark) return false;
    uint8_t next = 0;
    DWORD count = 0;
    if (!ReadFile(handle, &next, 1, &count, nullptr) || count != 1) return true;
    LARGE_INTEGER back;
    back.QuadPart = -1;
    SetFilePointerEx(handle, back, nullptr, FILE_CURRENT);
    return is_line_stop_byte(next);
}

void close_file(int file_number) { remove_open_file(file_number); }

} // namespace brindor
