#include <openssl/evp.h>
#include <openssl/rand.h>
#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "platform/password_hash.h"

namespace pairweb::platform {

std::optional<std::string> pbkdf2Sha256(std::string_view password, std::string_view salt,
                                        int iterations, std::size_t bytes) {
    std::string out(bytes, '\0');
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char*>(salt.data()),
                          static_cast<int>(salt.size()), iterations, EVP_sha256(),
                          static_cast<int>(bytes), reinterpret_cast<unsigned char*>(out.data())) != 1) {
        return std::nullopt;
    }
    return out;
}

std::optional<PasswordHash> hashPassword(std::string_view password) {
    PasswordHash h;
    h.iterations = kPasswordIterations;
    h.salt.assign(kPasswordSaltBytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(h.salt.data()),
                   static_cast<int>(h.salt.size())) != 1) {
        return std::nullopt;
    }
    auto hash = pbkdf2Sha256(password, h.salt, h.iterations, kPasswordHashBytes);
    if (!hash) return std::nullopt;
    h.hash = std::move(*hash);
    return h;
}

std::optional<std::string> readSecretLine(std::string_view prompt) {
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) == 1 && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        std::cerr << prompt << std::flush;
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << "\n" << std::flush;
    }
    if (!got) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace pairweb::platform
