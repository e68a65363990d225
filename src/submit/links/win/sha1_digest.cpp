#include "submit/links/win/sha1_digest.h"

#include "declared/declared_functions.h"

namespace brindor {

namespace {

constexpr uint32_t kProvRsaFull = 1;
constexpr uint32_t kCryptVerifyContext = 0xF0000000;
constexpr uint32_t kCalgSha1 = 0x8004;
constexpr uint32_t kHashValue = 2;

class HashHandle {
  public:
    explicit HashHandle(uintptr_t provider) {
        if (provider &&
            !call_declared(kCryptCreateHash, provider, kCalgSha1, uintptr_t{0}, uint32_t{0}, &handle_))
            handle_ = 0;
    }
    HashHandle(const HashHandle&) = delete;
    HashHandle& operator=(const HashHandle&) = delete;
    ~HashHandle() {
        if (handle_) call_declared(kCryptDestroyHash, handle_);
    }
    uintptr_t get() const { return handle_; }

  private:
    uintptr_t handle_ = 0;
};

} // namespace

Sha1Digest::Sha1Digest() {
    const wchar_t* none = nullptr;
    if (!call_declared(kCryptAcquireContextW, &provider_, none, none, kProvRsaFull, kCryptVerifyContext))
        provider_ = 0;
}

Sha1Digest::~Sha1Digest() {
    if (provider_) call_declared(kCryptReleaseContext, provider_, uint32_t{0});
}

bool Sha1Digest::digest(ByteSpan bytes, InfoHash& hash) {
    HashHandle hasher(provider_);
    if (!hasher.get()) return false;
    if (!call_declared(kCryptHashData, hasher.get(), bytes.data, static_cast<uint32_t>(bytes.size),
                       uint32_t{0}))
        return false;
    uint32_t size = static_cast<uint32_t>(hash.size());
    return call_declared(kCryptGetHashParam, hasher.get(), kHashValue, hash.data(), &size, uint32_t{0}) &&
           size == hash.size();
}

} // namespace brindor
