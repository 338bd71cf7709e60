// What publishing needs from the libcurl the program is linked with: FTP, FTPS and SFTP, TLS
// through the system's library (Schannel on Windows, OpenSSL on Linux), SFTP through
// libssh2, and working sockets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <curl/curl.h>

namespace {

const curl_version_info_data& versionInfo() {
    return *curl_version_info(CURLVERSION_NOW);
}

std::vector<std::string> protocols() {
    std::vector<std::string> names;
    for (const char* const* name = versionInfo().protocols; name != nullptr && *name != nullptr;
         ++name) {
        names.emplace_back(*name);
    }
    return names;
}

TEST(CurlBuildTest, SpeaksFtpFtpsAndSftp) {
    const std::vector<std::string> have = protocols();
    for (const char* wanted : {"ftp", "ftps", "sftp"}) {
        EXPECT_NE(std::find(have.begin(), have.end(), wanted), have.end()) << wanted;
    }
}

TEST(CurlBuildTest, TlsThroughTheSystemsLibrary) {
    const curl_version_info_data& info = versionInfo();
    EXPECT_NE(info.features & CURL_VERSION_SSL, 0);
    ASSERT_NE(info.ssl_version, nullptr);
#ifdef _WIN32
    const std::string_view backend = "Schannel";
#else
    const std::string_view backend = "OpenSSL";
#endif
    EXPECT_NE(std::string_view(info.ssl_version).find(backend), std::string_view::npos)
        << info.ssl_version;
}

TEST(CurlBuildTest, SftpThroughLibssh2) {
    const curl_version_info_data& info = versionInfo();
    ASSERT_NE(info.libssh_version, nullptr);
    const std::string_view version = info.libssh_version;
    ASSERT_EQ(version.substr(0, 8), "libssh2/") << version;
#ifdef _WIN32
    // Older libssh2 cannot agree on host keys with current OpenSSH servers from Windows.
    int major = 0;
    int minor = 0;
    int patch = 0;
    ASSERT_EQ(std::sscanf(info.libssh_version, "libssh2/%d.%d.%d", &major, &minor, &patch), 3);
    EXPECT_GE(major * 10000 + minor * 100 + patch, 1'11'01) << version;
#endif
}

// A refused connection ends the transfer at once with the library's connection error, for each
// protocol (nothing listens on port 1 of the loopback address).
TEST(CurlBuildTest, RefusedConnectionIsAConnectError) {
    ASSERT_EQ(curl_global_init(CURL_GLOBAL_DEFAULT), CURLE_OK);
    for (const char* url : {"ftp://127.0.0.1:1/", "ftps://127.0.0.1:1/", "sftp://127.0.0.1:1/"}) {
        CURL* curl = curl_easy_init();
        ASSERT_NE(curl, nullptr);
        curl_easy_setopt(curl, CURLOPT_URL, url);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, 20L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        EXPECT_EQ(curl_easy_perform(curl), CURLE_COULDNT_CONNECT) << url;
        curl_easy_cleanup(curl);
    }
    curl_global_cleanup();
}

}  // namespace
