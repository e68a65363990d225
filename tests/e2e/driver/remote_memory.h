// A block of memory inside another process, for messages that carry pointers.
#pragma once
#include "wire.h"

namespace driver {

class RemoteMemory {
  public:
    RemoteMemory(HWND owner, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* address() const { return address_; }
    // The block stays in the other process, now its to free.
    void* hand_over() {
        void* address = address_;
        address_ = nullptr;
        return address;
    }
    void write(size_t offset, const void* data, size_t size);
    void read(size_t offset, void* data, size_t size) const;

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

} // namespace driver
