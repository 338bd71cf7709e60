// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <bcrypt.h>

#include <algorithm>
#include <iostream>

#include "platform/password_hash.h"

namespace pairweb::platform {

std::optional<std::string> pbkdf2Sha256(std::string_view password, std::string_view salt,
                                        int iterations, std::size_t bytes) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                    BCRYPT_ALG_HANDLE_HMAC_FLAG) != 0) {
        return std::nullopt;
    }
    std::string out(bytes, '\0');
    const NTSTATUS status = BCryptDeriveKeyPBKDF2(
        algorithm, reinterpret_cast<PUCHAR>(const_cast<char*>(password.data())),
        static_cast<ULONG>(password.size()),
        reinterpret_cast<PUCHAR>(const_cast<char*>(salt.data())), static_cast<ULONG>(salt.size()),
        static_cast<ULONGLONG>(iterations), reinterpret_cast<PUCHAR>(out.data()),
        static_cast<ULONG>(out.size()), 0);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (status != 0) return std::nullopt;
    return out;
}

std::optional<std::string> sha256Digest(std::string_view data) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
        return std::nullopt;
    }
    std::string digest(32, '\0');
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    // Fed in pieces that fit a ULONG, whatever the size of the data.
    for (std::size_t at = 0; ok && at < data.size(); at += 0x40000000) {
        const std::size_t piece = std::min<std::size_t>(data.size() - at, 0x40000000);
        ok = BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(data.data() + at)),
                            static_cast<ULONG>(piece), 0) == 0;
    }
    ok = ok && BCryptFinishHash(hash, reinterpret_cast<PUCHAR>(digest.data()),
                                static_cast<ULONG>(digest.size()), 0) == 0;
    if (hash != nullptr) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!ok) return std::nullopt;
    return digest;
}

std::optional<std::string> systemRandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    if (BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(count),
                        BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> readSecretLine(std::string_view prompt) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = GetConsoleMode(input, &mode) != 0;
    if (console) {
        // Typed in a console window: read as UTF-16 without echo, then to UTF-8.
        std::cerr << prompt << std::flush;
        SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
        std::wstring line;
        wchar_t c = 0;
        DWORD read = 0;
        bool got = false;
        while (ReadConsoleW(input, &c, 1, &read, nullptr) && read == 1) {
            got = true;
            if (c == L'\n') break;
            if (c != L'\r') line += c;
        }
        SetConsoleMode(input, mode);
        std::cerr << "\n" << std::flush;
        if (!got) return std::nullopt;
        const int n = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                          nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), out.data(), n,
                            nullptr, nullptr);
        return out;
    }
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace pairweb::platform
