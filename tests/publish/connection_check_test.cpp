// The connection test against real servers on loopback, each started and stopped by the
// test: vsftpd (FTP with TLS), sshd (SFTP) and pyftpdlib (plain FTP with a password).
#include "publish/connection_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/servers.h"
#include "support/test_env.h"

namespace pairweb::publish {
namespace {

namespace fs = std::filesystem;

// Nothing of ours left in a folder of the server.
bool holdsNoTemporary(const std::string& folder) {
    for (const std::string& name : testing::filesIn(folder)) {
        if (name.starts_with("pairweb-upload-")) return false;
    }
    return true;
}

TEST(ConnectionCheckTest, FtpsMakesTheMissingFolderThenFindsIt) {
    testing::VsftpServer server;
    ASSERT_TRUE(server.start()) << server.log();
    settings::Settings s;
    s.PublishUrl = server.url() + "open%20cup/";
    Credentials c;
    c.password = "guest";
    c.caFile = server.certificateFile();

    const ConnectionCheck made = checkConnection(s, c);
    EXPECT_TRUE(made.ok()) << made.message << server.log();
    EXPECT_TRUE(made.folderCreated);
    EXPECT_EQ(made.message, "Connected and logged in to " + server.url() +
                                "open%20cup/. The folder /www/open cup/ was not there and has "
                                "been made, and a test file was written in it and removed again.");
    EXPECT_TRUE(fs::is_directory(server.remoteFolder() + "/open cup"));
    EXPECT_TRUE(holdsNoTemporary(server.remoteFolder() + "/open cup"));

    const ConnectionCheck found = checkConnection(s, c);
    EXPECT_TRUE(found.ok()) << found.message;
    EXPECT_FALSE(found.folderCreated);
    EXPECT_NE(found.message.find("The folder /www/open cup/ is there, and a test file was written"),
              std::string::npos)
        << found.message;
    EXPECT_TRUE(testing::filesIn(server.remoteFolder() + "/open cup").empty());

    // The server's root is not writable: the check says where it stopped.
    s.PublishUrl = "ftp://anonymous@127.0.0.1:" + std::to_string(server.port()) + "/";
    const ConnectionCheck refused = checkConnection(s, c);
    EXPECT_EQ(refused.outcome, CheckOutcome::Failed);
    EXPECT_EQ(refused.reason, Reason::PermissionDenied) << refused.message;
    EXPECT_EQ(refused.message.rfind("Connected and logged in to ftp://anonymous@127.0.0.1:", 0), 0u)
        << refused.message;
    EXPECT_NE(refused.message.find(", but no file could be written in the folder /: permission "
                                   "denied."),
              std::string::npos)
        << refused.message;

    // Without the server's certificate the connection is not trusted.
    c.caFile.clear();
    s.PublishUrl = server.url();
    EXPECT_EQ(checkConnection(s, c).reason, Reason::CertificateNotTrusted);
}

TEST(ConnectionCheckTest, WrongPasswordAndNoServer) {
    testing::PasswordFtpServer server("organiser", "Right-Secret-1");
    ASSERT_TRUE(server.start()) << server.log();
    settings::Settings s;
    s.PublishUrl = server.url();
    s.PublishPlainFtp = 1;
    Credentials c;
    c.password = "wrong";
    const ConnectionCheck wrong = checkConnection(s, c);
    EXPECT_EQ(wrong.reason, Reason::WrongPassword);
    EXPECT_EQ(wrong.message, "Could not connect to " + server.url() + ": wrong password.");
    c.password = "Right-Secret-1";
    const ConnectionCheck right = checkConnection(s, c);
    EXPECT_TRUE(right.ok()) << right.message;
    EXPECT_TRUE(holdsNoTemporary(server.remoteFolder()));

    server.stop();
    const ConnectionCheck gone = checkConnection(s, c);
    EXPECT_EQ(gone.reason, Reason::HostNotReachable) << gone.message;

    s.PublishUrl.clear();
    EXPECT_EQ(checkConnection(s, c).outcome, CheckOutcome::NotSet);
    s.PublishUrl = "gopher://u@h/";
    EXPECT_EQ(checkConnection(s, c).outcome, CheckOutcome::BadSetting);
}

// An SFTP server's key: unknown, it comes back for the user to check; pinned, the test goes
// through; another one pinned, it is refused with the server's own.
TEST(ConnectionCheckTest, SftpHostKeyComesBackUntilPinned) {
    testing::SshServer server;
    ASSERT_TRUE(server.start()) << server.log();
    settings::Settings s;
    s.PublishUrl = server.url();
    Credentials c;
    c.privateKeyFile = server.clientKeyFile();
    const ConnectionCheck unknown = checkConnection(s, c);
    EXPECT_EQ(unknown.reason, Reason::HostKeyNotTrusted) << unknown.message;
    EXPECT_EQ(unknown.serverHostKey, server.hostKeyFingerprint());
    c.hostKey = server.hostKeyFingerprint();
    const ConnectionCheck pinned = checkConnection(s, c);
    EXPECT_TRUE(pinned.ok()) << pinned.message << server.log();
    EXPECT_TRUE(pinned.folderCreated);
    EXPECT_TRUE(fs::is_directory(server.remoteFolder()));
    EXPECT_TRUE(holdsNoTemporary(server.remoteFolder()));
    c.hostKey = "SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
    const ConnectionCheck other = checkConnection(s, c);
    EXPECT_EQ(other.reason, Reason::HostKeyNotTrusted);
    EXPECT_EQ(other.serverHostKey, server.hostKeyFingerprint());
}

}  // namespace
}  // namespace pairweb::publish
