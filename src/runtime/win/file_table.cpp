#include "runtime/win/file_table.h"

#include <climits>
#include <map>

namespace brindor {

namespace {

std::mutex g_table_lock;
std::map<int, OpenFileRef> g_files;
int g_last_number = 0;

} // namespace

int add_open_file(FileHandle handle) {
    auto entry = std::make_shared<OpenFile>(std::move(handle));
    std::lock_guard<std::mutex> lock(g_table_lock);
    do {
        g_last_number = g_last_number == INT_MAX ? 1 : g_last_number + 1;
    } while (g_files.count(g_last_number));
    g_files.emplace(g_last_number, std::move(entry));
    return g_last_number;
}

OpenFileRef find_open_file(int file_number) {
    std::lock_guard<std::mutex> lock(g_table_lock);
    auto it = g_files.find(file_number);
    return it == g_files.end() ? nullptr : it->second;
}

OpenFileRef remove_open_file(int file_number) {
    std::lock_guard<std::mutex> lock(g_table_lock);
    auto it = g_files.find(file_number);
    if (it == g_files.end()) return nullptr;
    OpenFileRef entry = std::move(it->second);
    g_files.erase(it);
    return entry;
}

} // namespace brindor
