// One run's journal, written by the worker: every row before it is shown, the closing line at the
// end. A journal that cannot be kept never holds up the run; it only says so at the end.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"
#include "runtime/win/local_files.h"

namespace brindor::app {

class RunJournal {
  public:
    // Starts the journal and keeps the run's links beside it.
    void Open(const TextArray& run_links);
    // The row's six cells as the report shows them; the time is added.
    void WriteRow(const TextRef (&cells)[6]);
    // `how`: the end box's first line.
    void Close(TextRef how);
    // True when a line could not be written, or the journal not started.
    bool failed() const { return failed_; }

  private:
    void WriteLine(const TextArray& cells);

    AppendingFile file_;
    bool failed_ = false;
    uint32_t last_flush_ = 0;
};

} // namespace brindor::app
