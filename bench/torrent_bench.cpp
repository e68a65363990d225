// Reads a folder of .torrent files one of two ways and prints "seconds files": as the import takes
// them (`torrents`: read, decoded, hashed, made links) or only their bytes (`bytes`).
#include <cstdio>
#include <cwchar>

#include "app/import/win/links_from_files.h"
#include "bench_clock.h"
#include "runtime/win/chosen_files.h"
#include "runtime/win/text_boundary.h"
#include "submit/links/torrent_link.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: torrent_bench torrents|bytes FOLDER\n");
        return 2;
    }
    const brindor::FileName folder = brindor::file_name_of(argv[2], std::wcslen(argv[2]));
    const double start = NowMs();
    size_t count = 0;
    if (std::wcscmp(argv[1], L"torrents") == 0) {
        const brindor::app::LinksAndFailures got = brindor::app::LinksFromFiles({folder});
        count = got.failures.empty() ? static_cast<size_t>(got.links.count()) : 0;
    } else {
        for (const brindor::FileName& file : brindor::files_of_folder(folder, L"*.torrent")) {
            brindor::Bytes bytes;
            count += brindor::read_whole_file(file, brindor::kLargestTorrentFile, bytes) ==
                     brindor::WholeFileRead::Read;
        }
    }
    std::printf("%.4f %u\n", (NowMs() - start) / 1000, static_cast<unsigned>(count));
    return 0;
}
