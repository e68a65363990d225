#include "app/import/win/links_from_files.h"

#include <cstdint>
#include <utility>

#include "app/import/win/read_lines_to_list.h"
#include "declared/declared_functions.h"
#include "runtime/core/bytes.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/chosen_files.h"
#include "runtime/win/dialog_ops.h"
#include "submit/links/torrent_link.h"
#include "submit/links/win/sha1_digest.h"
#include "text/win/code_pages.h"

namespace brindor::app {

namespace {

constexpr size_t kFailuresShown = 10;
constexpr uint32_t kNoFile = 0xFFFFFFFF;
constexpr uint32_t kDirectory = 0x10;
constexpr char kCannotOpen[] = "打开文件失败";
constexpr char kNotLinksOrTorrent[] = "不是txt或种子文件";

class Intake {
  public:
    LinksAndFailures result;

    void take(const FileName& name) {
        switch (KindOfItem(name, LookOnDisk)) {
        case ItemKind::kFolder:
            for (const FileName& torrent : files_of_folder(name, L"*.torrent"))
                take_torrent(torrent);
            break;
        case ItemKind::kTorrentFile:
            take_torrent(name);
            break;
        case ItemKind::kLinkFile:
            take_link_file(name);
            break;
        default:
            result.failures.push_back({name, kNotLinksOrTorrent});
        }
    }

  private:
    void take_link_file(const FileName& name) {
        TextArray lines;
        if (!ReadLinkFile(name, lines)) {
            result.failures.push_back({name, kCannotOpen});
            return;
        }
        if (result.links.empty()) {
            result.links = std::move(lines);
            return;
        }
        for (int i = 1; i <= lines.count(); ++i)
            result.links.append(Text(lines.at(i)));
    }

    void take_torrent(const FileName& name) {
        Bytes bytes;
        const WholeFileRead read = read_whole_file(name, kLargestTorrentFile, bytes);
        if (read != WholeFileRead::Read) {
            result.failures.push_back({name, read == WholeFileRead::TooLarge
                                                 ? TorrentFaultText(TorrentFault::TooLarge)
                                                 : kCannotOpen});
            return;
        }
        TorrentParts parts;
        TorrentFault fault = ReadTorrent({bytes.data(), bytes.size()}, parts);
        InfoHash hash{};
        if (fault == TorrentFault::None && !sha1_.digest(parts.info, hash)) fault = TorrentFault::NotTorrent;
        if (fault != TorrentFault::None) {
            result.failures.push_back({name, TorrentFaultText(fault)});
            return;
        }
        // A name that is not UTF-8 was written by a program that used the Chinese code page.
        const Text name_bytes(reinterpret_cast<const char*>(parts.name.data), parts.name.size);
        const Text name_utf8 = IsUtf8(parts.name) ? name_bytes : GbkTextToUtf8(name_bytes);
        result.links.append(TorrentMagnet(hash, name_utf8, parts.trackers));
    }

    Sha1Digest sha1_;
};

} // namespace

OnDisk LookOnDisk(const FileName& name) {
    const uint32_t attributes = call_declared<uint32_t>(kGetFileAttributesW, name.units());
    if (attributes == kNoFile) return OnDisk::kNothing;
    return attributes & kDirectory ? OnDisk::kFolder : OnDisk::kFile;
}

LinksAndFailures LinksFromFiles(const FileNames& names) {
    Intake intake;
    for (const FileName& name : names)
        intake.take(name);
    return std::move(intake.result);
}

void ShowFileFailures(const std::vector<FileFailure>& failures) {
    if (failures.empty()) return;
    TextBuilder text;
    const char kHead[] = "以下文件未能导入：";
    text.append(kHead, sizeof kHead - 1);
    for (size_t i = 0; i < failures.size() && i < kFailuresShown; ++i) {
        const Text line = concat_text({"\n", shown_file_name(failures[i].file), "：", failures[i].reason});
        text.append(line.c_str(), line.length());
    }
    if (failures.size() > kFailuresShown) {
        const Text more =
            concat_text({"\n……另有", to_text(static_cast<int>(failures.size() - kFailuresShown)), "个文件"});
        text.append(more.c_str(), more.length());
    }
    message_box(text.take().c_str(), 0, "提示");
}

} // namespace brindor::app
