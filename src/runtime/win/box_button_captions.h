// The captions of a message box's buttons in the program's language: the system writes them in
// its own (Retry on an English Windows) while the box's text names them in Chinese.
#pragma once
#include <windows.h>

namespace brindor {

// While one lives, the message boxes this thread shows get Chinese captions on their 重试, 取消,
// 是 and 否 buttons; OK keeps the system's.
class BoxButtonCaptions {
  public:
    BoxButtonCaptions();
    ~BoxButtonCaptions();
    BoxButtonCaptions(const BoxButtonCaptions&) = delete;
    BoxButtonCaptions& operator=(const BoxButtonCaptions&) = delete;

  private:
    HHOOK hook_;
};

} // namespace brindor
