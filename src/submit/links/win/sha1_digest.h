// SHA-1 through the platform's cryptographic provider, acquired once for many digests.
#pragma once
#include <cstdint>

#include "declared/declared_handles.h"
#include "submit/links/bencode.h"
#include "submit/links/info_hash.h"

namespace brindor {

class Sha1Digest {
  public:
    Sha1Digest();

    // False when the provider could not be had or a step failed.
    bool digest(ByteSpan bytes, InfoHash& hash);

  private:
    Owned<CryptProviderCloseTraits> provider_;
};

} // namespace brindor
