// The program's record on disk, %LOCALAPPDATA%\Brindor\brindor.db, shared by every copy of the
// program the user runs, and the lock that tells the copies' runs apart.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/record/record_store.h"
#include "submit/record/run_record.h"

namespace brindor::app {

// The window's thread's connection: opened on first use, and tried again while it cannot be; a run
// writes through a connection of its own (OpenRunRecord).
RecordStore& ProgramRecord();
// The program's code page on this side, UTF-8 in the file.
TextCodec RecordCodec();
// Opens `store` on the record file, texts converted between the program's code page and UTF-8.
// False when the file cannot be had; `store` then tries again at each use.
bool OpenRecordFile(RecordStore& store);
// Closes `store`, renames the file (and its log) to `aside` in the same folder and begins a new
// record there; false when the file could not be renamed.
bool SetRecordAside(RecordStore& store, const char* aside);
// Where the record lives, for the user's eyes; empty when the program's folder cannot be had.
Text RecordFileName();
// The name this copy's runs carry; its lock is held until the process ends.
Text ThisCopyOwner();
// True when the copy that owns a run is alive (this one included).
bool OwnerIsLive(TextRef owner);
// Today as days since 1970-01-01 on the local calendar, and now as a row's time.
int Today();
Text NowText();

class LocalClock : public RecordClock {
  public:
    int Today() override { return app::Today(); }
    Text Now() override { return NowText(); }
};

} // namespace brindor::app
