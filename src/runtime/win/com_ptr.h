// Owner of one reference to a COM interface.
#pragma once
#include <windows.h>
#include <objbase.h>

namespace brindor {

template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
        if (pointer_) pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    ComPtr& operator=(ComPtr other) noexcept {
        T* old = pointer_;
        pointer_ = other.pointer_;
        other.pointer_ = old;
        return *this;
    }
    ~ComPtr() { reset(); }

    // Takes over a reference the caller already holds.
    static ComPtr adopt(T* pointer) {
        ComPtr p;
        p.pointer_ = pointer;
        return p;
    }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For out-parameters: releases the current reference first.
    T** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
    }
    template <class U> ComPtr<U> query() const {
        ComPtr<U> result;
        if (pointer_) pointer_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(result.put()));
        return result;
    }

  private:
    T* pointer_ = nullptr;
};

} // namespace brindor
