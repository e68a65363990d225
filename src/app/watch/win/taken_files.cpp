#include "app/watch/win/taken_files.h"

#include <cstdint>

#include "app/watch/numbered_name.h"
#include "declared/declared_functions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/file_ops.h"
#include "runtime/win/folder_files.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

constexpr char16_t kTakenFolder[] = u"已导入";
constexpr char16_t kFailedFolder[] = u"未能导入";
constexpr char16_t kReasonSuffix[] = u".原因.txt";
// Past this many files of one name something else is wrong; the file stays where it is.
constexpr int kMostNumbers = 10000;
constexpr uint32_t kNoFile = 0xFFFFFFFF;

FileName ToFileName(const std::u16string& path) {
    return FileName(path.c_str(), path.size());
}

std::u16string PathOf(const FileName& folder) {
    std::u16string path(folder.units(), folder.length());
    if (!path.empty() && path.back() == u'\\') path.pop_back();
    return path;
}

// The name the file has in `subfolder` afterwards; empty when it was not moved.
std::u16string MoveInto(const FileName& folder, const char16_t* subfolder, const std::u16string& name) {
    const std::u16string target = PathOf(folder) + u"\\" + subfolder;
    if (!make_folder(ToFileName(target))) return {};
    const FileName from = FileInFolder(folder, name);
    for (int number = 1; number <= kMostNumbers; ++number) {
        const std::u16string moved = NumberedName(name, number);
        const std::u16string to = target + u"\\" + moved;
        if (move_file_unreplacing(from, ToFileName(to))) return to;
        // Only a name taken already is worth another number.
        if (call_declared<uint32_t>(kGetFileAttributesW, to.c_str()) == kNoFile) return {};
    }
    return {};
}

} // namespace

FileName FileInFolder(const FileName& folder, const std::u16string& name) {
    return ToFileName(PathOf(folder) + u"\\" + name);
}

bool MoveTakenFile(const FileName& folder, const std::u16string& name) {
    return !MoveInto(folder, kTakenFolder, name).empty();
}

bool MoveFailedFile(const FileName& folder, const std::u16string& name, const char* reason) {
    const std::u16string moved = MoveInto(folder, kFailedFolder, name);
    if (moved.empty()) return false;
    // UTF-8 with its mark, which every editor reads as such.
    const Text utf8 =
        concat_text({"\xEF\xBB\xBF", GbkTextToUtf8(concat_text({"未能导入：", reason, "\r\n"}))});
    write_whole_file(ToFileName(moved + kReasonSuffix), utf8.c_str(), utf8.length());
    return true;
}

} // namespace brindor::app
