// The run journal's own cost: N rows written as a run writes them (the line, its time, the flush at
// most once a second), printed as "rows ms ms_per_row". Beside the whole program's run with and
// without the journal (batch_bench.py --journal), which a busy machine blurs far more than this.
#include <cstdio>
#include <cstdlib>

#include "app/journal/win/run_journal.h"
#include "bench_clock.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"

int main(int argc, char** argv) {
    using namespace brindor;
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    TextArray links;
    for (int i = 1; i <= rows; ++i)
        links.append(concat_text("magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef", to_text(i)));
    app::RunJournal journal;
    const double start = NowMs();
    journal.Open(links);
    for (int i = 1; i <= rows; ++i) {
        const Text caption = to_text(i);
        journal.WriteRow({caption, "山海之间 4K 纪录片, \"第一集\"", "1.5GB", links.at(i), "提交成功！", ""});
    }
    journal.Close("全部完成！");
    const double ms = NowMs() - start;
    std::printf("rows %d ms %.1f ms_per_row %.4f%s\n", rows, ms, ms / rows,
                journal.failed() ? " FAILED" : "");
    return journal.failed() ? 1 : 0;
}
