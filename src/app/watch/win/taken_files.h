// Where a watched folder's files go once looked at, so that each is taken once and none is lost:
// a file taken into 已导入, one that could not be read into 未能导入 with its reason beside it.
#pragma once
#include <string>

#include "runtime/core/file_name.h"

namespace brindor::app {

// `name` is the file's name within `folder`. False when the file could not be moved.
bool MoveTakenFile(const FileName& folder, const std::u16string& name);
// The reason (GBK) goes into "NAME.原因.txt" beside the moved file.
bool MoveFailedFile(const FileName& folder, const std::u16string& name, const char* reason);

FileName FileInFolder(const FileName& folder, const std::u16string& name);

} // namespace brindor::app
