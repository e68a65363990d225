#include "runtime/win/file_ops.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

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

void drop_read_ahead(OpenFile& file) {
    file.ahead_next = file.ahead_end = 0;
}

class BufferedLineSource : public LineSource {
  public:
    explicit BufferedLineSource(OpenFile& file) : file_(file) {}

    int read_block(uint8_t* buffer, int capacity) override {
        if (file_.ahead_left() == 0 && !fill()) return -1;
        int count = std::min(capacity, file_.ahead_left());
        std::memcpy(buffer, file_.ahead.get() + file_.ahead_next, static_cast<size_t>(count));
        file_.ahead_next += count;
        return count;
    }
    bool move_position(int64_t offset) override {
        if (offset >= -file_.ahead_next && offset <= file_.ahead_left()) {
            file_.ahead_next += static_cast<int>(offset);
            return true;
        }
        LARGE_INTEGER distance;
        distance.QuadPart = offset - file_.ahead_left();
        drop_read_ahead(file_);
        return SetFilePointerEx(file_.handle.get(), distance, nullptr, FILE_CURRENT);
    }
    void move_to_end() override {
        drop_read_ahead(file_);
        LARGE_INTEGER zero{};
        SetFilePointerEx(file_.handle.get(), zero, nullptr, FILE_END);
    }

  private:
    bool fill() {
        if (!file_.ahead) file_.ahead = std::make_unique<uint8_t[]>(kReadAheadSize);
        DWORD count = 0;
        drop_read_ahead(file_);
        if (!ReadFile(file_.handle.get(), file_.ahead.get(), kReadAheadSize, &count, nullptr)) return false;
        file_.ahead_end = static_cast<int>(count);
        return true;
    }

    OpenFile& file_;
};

bool position_and_size(HANDLE handle, int64_t& position, int64_t& size) {
    LARGE_INTEGER zero{}, here{}, length{};
    if (!SetFilePointerEx(handle, zero, &here, FILE_CURRENT) || !GetFileSizeEx(handle, &length)) return false;
    position = here.QuadPart;
    size = length.QuadPart;
    return true;
}

int open_wide(const wchar_t* name, int mode, int share) {
    if (!*name || mode < 1 || mode > 6 || share < 1 || share > 4) return 0;
    const OpenRule& rule = kModeRules[mode - 1];
    FileHandle handle(CreateFileW(name, rule.access, kShareRules[share - 1], nullptr, rule.disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) return 0;
    return add_open_file(std::move(handle));
}

} // namespace

int open_file(const char* name, int mode, int share) {
    if (!name) return 0;
    return open_wide(to_wide(name).c_str(), mode, share);
}

int open_file(const FileName& name, int mode, int share) {
    return open_wide(wide_units(name), mode, share);
}

bool seek_begin(int file_number) {
    OpenFileRef file = find_open_file(file_number);
    if (!file) return false;
    std::lock_guard<std::mutex> lock(file->in_use);
    drop_read_ahead(*file);
    LARGE_INTEGER zero{};
    return SetFilePointerEx(file->handle.get(), zero, nullptr, FILE_BEGIN);
}

Text read_line(int file_number) {
    OpenFileRef file = find_open_file(file_number);
    if (!file) return {};
    std::lock_guard<std::mutex> lock(file->in_use);
    BufferedLineSource source(*file);
    return read_line(source);
}

Bytes read_bytes(int file_number, int count) {
    OpenFileRef file = find_open_file(file_number);
    if (!file || count <= 0) return {};
    std::lock_guard<std::mutex> lock(file->in_use);
    BufferedLineSource source(*file);
    Bytes out = Bytes::with_length(static_cast<size_t>(count));
    int filled = 0;
    while (filled < count) {
        int got = source.read_block(out.mutable_data() + filled, count - filled);
        if (got <= 0) break;
        filled += got;
    }
    out.resize(static_cast<size_t>(filled));
    return out;
}

bool at_end_of_file(int file_number, bool stop_at_eof_mark) {
    OpenFileRef file = find_open_file(file_number);
    if (!file) return true;
    std::lock_guard<std::mutex> lock(file->in_use);
    if (file->ahead_left() > 0)
        return stop_at_eof_mark && is_line_stop_byte(file->ahead[static_cast<size_t>(file->ahead_next)]);
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

void close_file(int file_number) {
    remove_open_file(file_number);
}

} // namespace brindor
