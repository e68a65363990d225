#include "submit/links/win/sha1_digest.h"

#include "declared/declared_functions.h"

namespace brindor {

namespace {

constexpr uint32_t kProvRsaFull = 1;
constexpr uint32_t kCryptVerifyContext = 0xF0000000;
constexpr uint32_t kCalgSha1 = 0x8004;
constexpr uint32_t kHashValue = 2;

} // namespace

Sha1Digest::Sha1Digest() {
    const wchar_t* none = nullptr;
    uintptr_t provider = 0;
    if (call_declared(kCryptAcquireContextW, &provider, none, none, kProvRsaFull, kCryptVerifyContext))
        provider_.reset(provider);
}

bool Sha1Digest::digest(ByteSpan bytes, InfoHash& hash) {
    uintptr_t created = 0;
    if (!provider_ ||
        !call_declared(kCryptCreateHash, provider_.get(), kCalgSha1, uintptr_t{0}, uint32_t{0}, &created))
        return false;
    const Owned<CryptHashCloseTraits> hasher(created);
    if (!call_declared(kCryptHashData, hasher.get(), bytes.data, static_cast<uint32_t>(bytes.size),
                       uint32_t{0}))
        return false;
    uint32_t size = static_cast<uint32_t>(hash.size());
    return call_declared(kCryptGetHashParam, hasher.get(), kHashValue, hash.data(), &size, uint32_t{0}) &&
           size == hash.size();
}

} // namespace brindor
