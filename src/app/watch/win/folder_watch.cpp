#include "app/watch/win/folder_watch.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/batch/worker_box.h"
#include "app/import/win/link_intake.h"
#include "app/import/win/links_from_files.h"
#include "app/program_ids.h"
#include "app/settings/win/watch_settings.h"
#include "app/watch/settling_files.h"
#include "app/watch/win/taken_files.h"
#include "declared/declared_functions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/folder_files.h"
#include "runtime/win/folder_picker.h"
#include "runtime/win/program.h"
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_registry.h"
#include "submit/win/pumped_wait.h"

namespace brindor::app {

namespace {

constexpr uint32_t kLookEveryMs = 500;
// A file that has kept its size and time this long is no longer being written.
constexpr uint32_t kSettleMs = 1500;
// Files read between two trips to the window's thread, so that the list fills as they are read.
constexpr size_t kFilesPerTrip = 50;
constexpr int32_t kStopCheckMs = 100;

struct WatchJob {
    FileName folder;
    Text shown; // the folder's path, GBK
    std::atomic<bool> stop{false};
};

// The GUI thread's own; the worker holds its job too, so a stopped job outlives this reference.
std::shared_ptr<WatchJob> current;
// Every watching thread started, for the end of the program to wait for.
std::vector<void*> workers;
constexpr uint32_t kEndWaitMs = 2000;

bool IsWatchedName(const std::u16string& name) {
    const FileName file(name.c_str(), name.size());
    return file.has_extension("txt") || file.has_extension("torrent");
}

// On the window's thread, when the job is still the one watched; during a run or a question the links
// wait in the intake.
bool HandOver(const WatchJob& job, const TextArray& links) {
    bool handed = false;
    on_loaded_window_thread(kMainWindowId, [&](HWND) {
        if (job.stop) return;
        AddLinks(links);
        handed = true;
    });
    return handed;
}

// False when the files must wait for a later look.
bool TakeFiles(const WatchJob& job, const std::vector<std::u16string>& names, SettlingFiles& settling) {
    TextArray links;
    std::vector<std::u16string> taken;
    for (const std::u16string& name : names) {
        if (job.stop) return false;
        const FileName file = FileInFolder(job.folder, name);
        if (!file_free_to_read(file)) continue;
        LinksAndFailures got = LinksFromFiles(FileNames{file});
        if (!got.failures.empty()) {
            MoveFailedFile(job.folder, name, got.failures.front().reason);
            settling.Done(name);
            continue;
        }
        for (int i = 1; i <= got.links.count(); ++i)
            links.append(Text(got.links.at(i)));
        taken.push_back(name);
    }
    // Moved only once the list has the links: a file is never gone without them.
    if (taken.empty()) return true;
    if (!HandOver(job, links)) return false;
    for (const std::u16string& name : taken) {
        MoveTakenFile(job.folder, name);
        settling.Done(name);
    }
    return true;
}

// One 提示 box, and only for the job still watched: a folder given up by the user goes quietly.
void FolderGone(WatchJob& job) {
    bool ours = false;
    on_loaded_window_thread(kMainWindowId, [&](HWND) {
        if (job.stop || current.get() != &job) return;
        current.reset();
        SetWatchedFolder("");
        ours = true;
    });
    job.stop = true;
    if (ours)
        WorkerMessageBox(concat_text({"监视的文件夹已不存在，已停止监视：\n", job.shown}).c_str(), 0, "提示");
}

void Watch(WatchJob& job) {
    SettlingFiles settling(kSettleMs);
    std::vector<FolderFile> files;
    while (!job.stop) {
        if (!list_folder_files(job.folder, files)) return FolderGone(job);
        std::vector<SeenFile> seen;
        for (FolderFile& file : files)
            if (IsWatchedName(file.name)) seen.push_back({std::move(file.name), file.size, file.written});
        const std::vector<std::u16string> ready = settling.Look(seen, call_declared<uint32_t>(kGetTickCount));
        for (size_t first = 0; first < ready.size() && !job.stop; first += kFilesPerTrip) {
            const size_t end = std::min(ready.size(), first + kFilesPerTrip);
            if (!TakeFiles(job, {ready.begin() + first, ready.begin() + end}, settling)) break;
        }
        for (uint32_t waited = 0; waited < kLookEveryMs && !job.stop; waited += kStopCheckMs)
            PumpedWait(kStopCheckMs);
    }
}

uint32_t __stdcall FolderWorker(void* parameter) {
    const std::unique_ptr<std::shared_ptr<WatchJob>> job(static_cast<std::shared_ptr<WatchJob>*>(parameter));
    Watch(**job);
    return 0;
}

void WatchFolder(const Text& folder) {
    if (current) current->stop = true;
    current.reset();
    if (folder.empty()) return;
    auto job = std::make_shared<WatchJob>();
    const std::wstring wide = to_wide(folder.c_str());
    job->folder = file_name_of(wide.c_str(), wide.size());
    job->shown = folder;
    auto* held = new std::shared_ptr<WatchJob>(job);
    uint32_t thread_id = 0;
    uint32_t(__stdcall * routine)(void*) = &FolderWorker;
    void* handle = call_declared<void*>(kCreateThread, static_cast<void*>(nullptr), uint32_t{0}, routine,
                                        static_cast<void*>(held), uint32_t{0}, &thread_id);
    if (!handle) {
        delete held;
        return;
    }
    // Threads of folders given up have ended by now, or will soon: only the live ones are kept.
    std::erase_if(workers, [](void* worker) {
        const bool ended = call_declared<uint32_t>(kMsgWaitForMultipleObjects, uint32_t{1}, &worker,
                                                   int32_t{0}, uint32_t{0}, uint32_t{0}) == 0;
        if (ended) call_declared(kCloseHandle, worker);
        return ended;
    });
    workers.push_back(handle);
    current = std::move(job);
}

// The windows are gone: a watching thread no longer hands anything over, but it must not be
// reading or moving a file while the program lets go of what it calls.
void EndFolderWatch() {
    if (current) current->stop = true;
    // One at a time: waiting for all at once would also wait for input that never comes.
    const uint32_t began = call_declared<uint32_t>(kGetTickCount);
    for (void* worker : workers) {
        const uint32_t spent = call_declared<uint32_t>(kGetTickCount) - began;
        const uint32_t left = spent < kEndWaitMs ? kEndWaitMs - spent : 0;
        call_declared<uint32_t>(kMsgWaitForMultipleObjects, uint32_t{1}, &worker, int32_t{0}, left,
                                uint32_t{0});
        call_declared(kCloseHandle, worker);
    }
    workers.clear();
}

} // namespace

bool IsWatchingFolder() {
    return current != nullptr;
}

void ChooseWatchedFolder() {
    FileName chosen;
    if (!choose_folder(loaded_window_handle(kMainWindowId), "选择要监视的文件夹", chosen)) return;
    const Text folder = from_wide(wide_units(chosen), static_cast<int>(chosen.length()));
    // The setting keeps the program's code page: a name it cannot spell would come back as another.
    if (to_wide(folder.c_str()) != std::wstring(wide_units(chosen), chosen.length())) {
        message_box("这个文件夹的名称中有程序无法保存的字符，请选择另一个文件夹。", 0, "提示");
        return;
    }
    SetWatchedFolder(folder.c_str());
    WatchFolder(folder);
}

void StopWatchingFolder() {
    SetWatchedFolder("");
    WatchFolder(Text());
}

void StartFolderWatch() {
    add_shutdown_hook(EndFolderWatch);
    WatchFolder(WatchedFolderSetting());
}

} // namespace brindor::app
