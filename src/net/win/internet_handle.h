// Owner of one WinInet handle (root, connection or request), closed through the declared
// InternetCloseHandle.
#pragma once
#include "declared/declared_functions.h"

namespace brindor {

class InternetHandle {
  public:
    InternetHandle() = default;
    explicit InternetHandle(void* handle) : handle_(handle) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    InternetHandle(InternetHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    InternetHandle& operator=(InternetHandle&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    ~InternetHandle() { close(); }

    void* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void close() {
        if (handle_) call_declared(kInternetCloseHandle, handle_);
        handle_ = nullptr;
    }

  private:
    void* handle_ = nullptr;
};

} // namespace brindor
