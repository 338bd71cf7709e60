#include "platform/password_hash.h"

namespace pairweb::platform {

std::optional<PasswordHash> hashPassword(std::string_view password) {
    std::optional<std::string> salt = systemRandomBytes(kPasswordSaltBytes);
    if (!salt) return std::nullopt;
    std::optional<std::string> hash =
        pbkdf2Sha256(password, *salt, kPasswordIterations, kPasswordHashBytes);
    if (!hash) return std::nullopt;
    return PasswordHash{kPasswordIterations, std::move(*salt), std::move(*hash)};
}

}  // namespace pairweb::platform
