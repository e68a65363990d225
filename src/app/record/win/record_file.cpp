#include "app/record/win/record_file.h"

#include <cstring>
#include <mutex>
#include <string>

#include "runtime/win/clock_ops.h"
#include "runtime/win/local_files.h"
#include "runtime/win/program.h"
#include "submit/record/journal_rows.h"
#include "text/civil_days.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

Text Utf8Path(const std::wstring& path) {
    const Bytes units(reinterpret_cast<const uint8_t*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
    return Utf16ToText(units, kCodePageUtf8);
}

std::wstring LockPath(const std::wstring& owner) {
    const std::wstring folder = local_data_folder(L"Brindor\\live");
    return folder.empty() ? std::wstring() : folder + L"\\" + owner + L".lock";
}

struct OwnLock {
    std::wstring name = process_unique_name();
    HeldLock lock;
    OwnLock() { lock.take(LockPath(name)); }
};

OwnLock& OwnedLock() {
    static OwnLock lock;
    return lock;
}

} // namespace

std::wstring RecordPath() {
    const std::wstring folder = local_data_folder(L"Brindor");
    return folder.empty() ? folder : folder + L"\\brindor.db";
}

TextCodec RecordCodec() {
    return TextCodec{GbkTextToUtf8, Utf8TextToGbk};
}

RecordStore& ProgramRecord() {
    static RecordStore store(RecordCodec());
    static std::mutex opening;
    // At the end the log goes into the file: a copy of brindor.db alone then holds the whole record.
    static const bool closed_at_end = (add_shutdown_hook([] { ProgramRecord().Close(); }), true);
    (void)closed_at_end;
    // Tried again on each use until it opens: a folder that was in the way may be fixed meanwhile.
    const std::lock_guard<std::mutex> lock(opening);
    if (!store.is_open()) OpenRecordFile(store);
    return store;
}

bool OpenRecordFile(RecordStore& store) {
    const std::wstring path = RecordPath();
    return !path.empty() && store.Open(Utf8Path(path).c_str());
}

bool SetRecordAside(RecordStore& store, const char* aside) {
    store.Close();
    const std::wstring path = RecordPath();
    const std::wstring to =
        local_data_folder(L"Brindor") + L"\\" + std::wstring(aside, aside + std::strlen(aside));
    if (path.empty() || !move_named_file(path, to)) return false;
    move_named_file(path + L"-wal", to + L"-wal");
    delete_named_file(path + L"-shm");
    return OpenRecordFile(store);
}

Text RecordFileName() {
    const std::wstring path = RecordPath();
    const Bytes units(reinterpret_cast<const uint8_t*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
    return Utf16ToText(units, kCodePageGbk);
}

Text ThisCopyOwner() {
    const std::wstring& name = OwnedLock().name;
    return Text(std::string(name.begin(), name.end()).c_str());
}

bool OwnerIsLive(TextRef owner) {
    const std::string narrow = owner.c_str();
    // Names are "<process id>-<tick>"; anything else names no lock file.
    if (narrow.empty() || narrow.find_first_not_of("0123456789-") != std::string::npos) return false;
    const std::wstring name(narrow.begin(), narrow.end());
    if (name == OwnedLock().name) return true;
    const std::wstring path = LockPath(name);
    return !path.empty() && lock_is_held(path);
}

int Today() {
    const LocalTime t = local_time();
    return static_cast<int>(DaysFromCivil(t.year, t.month, t.day));
}

Text NowText() {
    const LocalTime t = local_time();
    return RowTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

} // namespace brindor::app
