// Runs a command while a test server runs on loopback: with_test_server KIND COMMAND...
// KIND is ftp (pyftpdlib: plain FTP with one user and password) or sftp (sshd: root with an
// RSA key). The server is started first and stopped after the command, by its own pid,
// whatever the command did; the command finds it through the environment:
// PAIRWEB_TEST_SERVER_URL (the folder to publish to), PAIRWEB_TEST_SERVER_FOLDER (that folder
// on this machine), PAIRWEB_TEST_SERVER_PASSWORD (ftp), PAIRWEB_TEST_SERVER_KEY_FILE and
// PAIRWEB_TEST_SERVER_HOST_KEY (sftp: the client's key and the server's fingerprint). The
// Windows programs' publishing tests run under wine this way; when the command fails, the
// server's log follows its output. Exit status: the command's, or 1 when the server cannot
// start.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "support/servers.h"

using namespace pairweb::testing;

int main(int argc, char** argv) {
    const std::string kind = argc >= 3 ? argv[1] : "";
    std::unique_ptr<TestServer> server;
    if (kind == "ftp") {
        auto ftp = std::make_unique<PasswordFtpServer>("organiser", "Right-Secret-1");
        setenv("PAIRWEB_TEST_SERVER_PASSWORD", ftp->password().c_str(), 1);
        server = std::move(ftp);
    } else if (kind == "sftp") {
        auto ssh = std::make_unique<SshServer>(SshServer::Keys::Rsa);
        setenv("PAIRWEB_TEST_SERVER_KEY_FILE", ssh->clientKeyFile().c_str(), 1);
        setenv("PAIRWEB_TEST_SERVER_HOST_KEY", ssh->hostKeyFingerprint().c_str(), 1);
        server = std::move(ssh);
    } else {
        std::fprintf(stderr, "usage: with_test_server ftp|sftp COMMAND...\n");
        return 2;
    }
    if (!server->start()) {
        std::fprintf(stderr, "with_test_server: the %s server did not start:\n%s\n", kind.c_str(),
                     server->log().c_str());
        return 1;
    }
    setenv("PAIRWEB_TEST_SERVER_URL", server->url().c_str(), 1);
    setenv("PAIRWEB_TEST_SERVER_FOLDER", server->remoteFolder().c_str(), 1);
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("with_test_server: the command cannot run");
        _exit(127);
    }
    int status = 0;
    while (child > 0 && waitpid(child, &status, 0) < 0) {
    }
    const bool failed = !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    if (failed) {
        std::fprintf(stderr, "with_test_server: the server's log:\n%s\n", server->log().c_str());
    }
    server->stop();
    if (child < 0) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
