// The password is kept only as the SHA-256 digest of its bytes (no salt, no terminator), written as
// 64 upper-case hexadecimal digits. Portable: no Windows header.
#include "app/digest_text.h"
#include "app/settings.h"
#include "app/sha256.h"

namespace {

std::string DigestText(const std::string& text) {
    const Sha256Digest digest = Sha256(text);
    return HexUpper(digest.data(), digest.size());
}

} // namespace

void ProgramSettings::SetPassword(const std::string& text) { password = DigestText(text); }

bool ProgramSettings::CheckPassword(const std::string& text) const { return DigestText(text) == password; }

bool ProgramSettings::PasswordProtected() const { return passwordEnabled && !password.empty(); }
