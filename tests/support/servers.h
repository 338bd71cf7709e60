#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/test_env.h"

namespace pairweb::testing {

// Real file servers for tests, POSIX only: vsftpd (FTP with explicit TLS), pyftpdlib (plain
// FTP with a user and password) and OpenSSH's sshd (SFTP). Each listens on 127.0.0.1 and a
// free high port, with a configuration, keys and folders of its own in a temporary folder
// that it removes when it is destroyed. Nothing of the machine's configuration is changed,
// except sshd's privilege-separation folder, made while a server needs it when it is missing.

// A TCP port of 127.0.0.1 that nothing listened on at the time of the call.
int freeLoopbackPort();

// While it exists, SIGINT or SIGTERM of the test process removes the folder (with what the
// servers leave), so that an interrupted test leaves no files behind either.
class RemovedOnInterrupt {
  public:
    explicit RemovedOnInterrupt(const std::string& folder);
    ~RemovedOnInterrupt();
    RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
    RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

  private:
    int m_slot = -1;
};

// One server program, run in the background in a process group of its own. Stopping kills
// it and every process it started and waits for them; the destructor stops it, and so does
// SIGINT or SIGTERM of the test process (its servers are killed and their folders removed
// before the signal ends it). A server also ends when the thread that started it ends.
class TestServer {
  public:
    virtual ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // Starts the server, again after stop on the same port and folders; true when it
    // accepts connections within 10 s. On false, log() says why.
    [[nodiscard]] bool start();
    void stop();
    // Stops the server and its processes without ending them (SIGSTOP): its clients see a
    // connection that stalls. stop() ends a frozen server.
    void freeze();
    bool running() const { return m_pid > 0; }
    int port() const { return m_port; }
    // The URL of the folder that tests publish to, ending with "/".
    virtual std::string url() const = 0;
    // That folder as the server's file system has it, read and changed directly by tests.
    virtual std::string remoteFolder() const = 0;
    // What setting up the server and the server itself wrote.
    std::string log() const;

  protected:
    TestServer();
    // Writes the server's configuration; the command line that runs the server.
    virtual bool configure() = 0;
    virtual std::vector<std::string> command() const = 0;
    // Runs a set-up command to its end; false (and the reason in the log) on failure.
    bool runStep(const std::vector<std::string>& args);
    // Marks the set-up as failed: start() then fails, and the log says why.
    void setupFailed(const std::string& reason);
    // The folder is created for sshd while it runs when it is missing.
    bool m_needsPrivilegeSeparationDir = false;
    TempDir m_dir;

  private:
    int m_port = 0;
    pid_t m_pid = -1;
    int m_slot = -1;
    std::string m_setupLog;
    bool m_setupFailed = false;
};

// vsftpd with explicit TLS required (a self-signed certificate of its own, the default TLS
// settings otherwise) and anonymous login with any password; uploads, folders, renames and
// deletes are allowed in "www/" below the read-only root. Transfers go to a log of the test.
class VsftpServer : public TestServer {
  public:
    VsftpServer();
    // Limits transfers to this many bytes a second from the next start; 0 is no limit.
    void setMaxRate(int bytesPerSecond) { m_maxRate = bytesPerSecond; }
    std::string url() const override;
    std::string remoteFolder() const override;
    // The server's certificate (PEM), which a client must be told to trust.
    std::string certificateFile() const;
    // Uploads that the server completed, by its transfer log, since it was made.
    int completedUploads() const;

  protected:
    bool configure() override;
    std::vector<std::string> command() const override;

  private:
    int m_maxRate = 0;
};

// pyftpdlib: plain FTP, one user with a password and full rights in its home folder.
class PasswordFtpServer : public TestServer {
  public:
    PasswordFtpServer(std::string user, std::string password);
    std::string url() const override;
    std::string remoteFolder() const override;
    const std::string& user() const { return m_user; }
    const std::string& password() const { return m_password; }

  protected:
    bool configure() override;
    std::vector<std::string> command() const override;

  private:
    std::string m_user;
    std::string m_password;
};

// sshd with a host key of its own and sftp inside the server; root logs in with a generated
// client key only. The keys are ECDSA, or RSA (PEM) for clients that read no other kind, as
// the Windows build's libssh2 over mbedTLS. The URL names the remote folder by its absolute
// path; that folder does not exist until a client creates it.
class SshServer : public TestServer {
  public:
    enum class Keys { Ecdsa, Rsa };
    explicit SshServer(Keys keys = Keys::Ecdsa);
    std::string url() const override;
    std::string remoteFolder() const override;
    // The host key's fingerprint as ssh-keygen -lf prints it ("SHA256:...").
    const std::string& hostKeyFingerprint() const { return m_fingerprint; }
    // The client's private key (no passphrase); its public key is beside it (".pub").
    std::string clientKeyFile() const;

  protected:
    bool configure() override;
    std::vector<std::string> command() const override;

  private:
    std::string m_fingerprint;
};

}  // namespace pairweb::testing
