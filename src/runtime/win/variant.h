// Owner of an automation VARIANT: cleared when it dies. Move-only.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <cstring>

namespace brindor {

class Variant {
  public:
    Variant() { std::memset(&value_, 0, sizeof value_); }
    Variant(Variant&& other) noexcept : value_(other.value_) { std::memset(&other.value_, 0, sizeof value_); }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            clear();
            value_ = other.value_;
            std::memset(&other.value_, 0, sizeof value_);
        }
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { clear(); }

    // Releases the content; afterwards all 16 bytes are zero (VT_EMPTY).
    void clear() {
        VariantClear(&value_);
        std::memset(&value_, 0, sizeof value_);
    }
    bool empty() const { return value_.vt == VT_EMPTY; }
    VARTYPE type() const { return value_.vt; }
    const VARIANT* get() const { return &value_; }
    // For out-parameters: clears the current content first.
    VARIANT* put() {
        clear();
        return &value_;
    }

  private:
    VARIANT value_;
};

} // namespace brindor
