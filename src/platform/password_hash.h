#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pairweb::platform {

// A password's salted, slow hash: PBKDF2 with HMAC-SHA256, as PHP's hash_pbkdf2 computes it.
struct PasswordHash {
    int iterations = 0;
    std::string salt;  // raw bytes
    std::string hash;  // raw bytes
};

constexpr int kPasswordIterations = 600000;
constexpr std::size_t kPasswordSaltBytes = 16;
constexpr std::size_t kPasswordHashBytes = 32;

// The hash of password with a new salt from the system's random source, computed by the
// system's cryptography library (OpenSSL; on Windows, CNG). Nothing when it fails. The two
// functions below are the ones each system provides.
std::optional<PasswordHash> hashPassword(std::string_view password);

// Bytes from the system's random source.
std::optional<std::string> systemRandomBytes(std::size_t count);

// PBKDF2-HMAC-SHA256 of password with the given salt and iterations (for checks).
std::optional<std::string> pbkdf2Sha256(std::string_view password, std::string_view salt,
                                        int iterations, std::size_t bytes);

// The SHA-256 digest (32 raw bytes) of data, by the system's cryptography; nothing when it
// fails.
std::optional<std::string> sha256Digest(std::string_view data);

// Reads one line from standard input without showing it when it is a terminal (the prompt
// goes to standard error then). The line end is not part of the line; nothing at the end
// of the input.
std::optional<std::string> readSecretLine(std::string_view prompt);

}  // namespace pairweb::platform
