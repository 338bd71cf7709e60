// Runs a command while a test server runs on loopback: with_test_server ftp COMMAND...
// The server (pyftpdlib: FTP with one user and password) is started first and stopped after
// the command, by its own pid, whatever the command did; the command finds it through the
// environment: PAIRWEB_TEST_SERVER_URL (the folder to publish to), PAIRWEB_TEST_SERVER_FOLDER
// (that folder on this machine) and PAIRWEB_TEST_SERVER_PASSWORD. The Windows app's
// publishing test runs under wine this way. Exit status: the command's, or 1 when the server
// cannot start.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/servers.h"

int main(int argc, char** argv) {
    if (argc < 3 || std::string(argv[1]) != "ftp") {
        std::fprintf(stderr, "usage: with_test_server ftp COMMAND...\n");
        return 2;
    }
    pairweb::testing::PasswordFtpServer server("organiser", "Right-Secret-1");
    if (!server.start()) {
        std::fprintf(stderr, "with_test_server: the FTP server did not start:\n%s\n",
                     server.log().c_str());
        return 1;
    }
    setenv("PAIRWEB_TEST_SERVER_URL", server.url().c_str(), 1);
    setenv("PAIRWEB_TEST_SERVER_FOLDER", server.remoteFolder().c_str(), 1);
    setenv("PAIRWEB_TEST_SERVER_PASSWORD", server.password().c_str(), 1);
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("with_test_server: the command cannot run");
        _exit(127);
    }
    int status = 0;
    while (child > 0 && waitpid(child, &status, 0) < 0) {
    }
    server.stop();
    if (child < 0) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
