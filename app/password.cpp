// The password is kept only as the SHA-256 digest of its bytes (no salt, no terminator), written as
// 64 upper-case hexadecimal digits. The digest comes from the platform's CryptoAPI, which has SHA-256
// from Windows XP SP3 on.
#include <windows.h>
#include <wincrypt.h>

#include <optional>

#ifndef CALG_SHA_256 // the headers hide it below Windows XP SP3
#define CALG_SHA_256 (ALG_CLASS_HASH | ALG_TYPE_ANY | 12)
#endif

#include "app/digest_text.h"
#include "app/settings.h"

namespace {

std::optional<std::string> Sha256Text(const std::string& text) {
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return std::nullopt;
    std::optional<std::string> result;
    HCRYPTHASH hash = 0;
    if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
        BYTE digest[32];
        DWORD length = sizeof digest;
        if (CryptHashData(hash, reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()), 0) &&
            CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0) && length == sizeof digest)
            result = HexUpper(digest, sizeof digest);
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(provider, 0);
    return result;
}

} // namespace

void ProgramSettings::SetPassword(const std::string& text) {
    // Without a digest the old password stays: storing anything else would lock the user out or
    // let anyone in.
    if (auto digest = Sha256Text(text)) password = *digest;
}

bool ProgramSettings::CheckPassword(const std::string& text) const {
    auto digest = Sha256Text(text);
    return digest && *digest == password;
}
