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
                          static_cast<int>(bytes),
                          reinterpret_cast<unsigned char*>(out.data())) != 1) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> sha256Digest(std::string_view data) {
    std::string digest(32, '\0');
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), reinterpret_cast<unsigned char*>(digest.data()),
                   &length, EVP_sha256(), nullptr) != 1 ||
        length != digest.size()) {
        return std::nullopt;
    }
    return digest;
}

std::optional<std::string> systemRandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1) {
        return std::nullopt;
    }
    return bytes;
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
