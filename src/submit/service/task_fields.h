// What a resolve answer tells about one link, and what its commit carries.
#pragma once
#include "runtime/core/text.h"

namespace brindor {

struct TaskFields {
    Text cid;
    Text tsize;  // total size in bytes, as decimal text
    Text title;  // decoded, code page 936
    Text findex; // file indexes joined: 0_1_2_
    Text size;   // file sizes in bytes joined: 1024_2048_
};

} // namespace brindor
