// Owner of one handle, closed when the owner goes. `CloseTraits` names the handle type, the value
// that means "none" (`invalid()`) and how a handle closes (`close(handle)`); a kind of handle with
// two "none" values (a file's) says so in `is_valid`.
#pragma once
#include <utility>

namespace brindor {

template <class CloseTraits> class Owned {
  public:
    using Handle = typename CloseTraits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    bool valid() const { return IsValid(handle_); }
    explicit operator bool() const { return valid(); }
    // The handle, no longer owned.
    Handle release() { return std::exchange(handle_, CloseTraits::invalid()); }
    void reset(Handle handle = CloseTraits::invalid()) {
        if (IsValid(handle_)) CloseTraits::close(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = CloseTraits::invalid();

    static bool IsValid(Handle handle) {
        if constexpr (requires { CloseTraits::is_valid(handle); })
            return CloseTraits::is_valid(handle);
        else
            return handle != CloseTraits::invalid();
    }
};

} // namespace brindor
