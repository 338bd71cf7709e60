#include "support/servers.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <thread>

#include "support/process.h"

namespace pairweb::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kPrivilegeSeparationDir = "/run/sshd";

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const sockaddr_in address = loopback(port);
    const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

// The servers that run and the folders to remove, for the signal handler: in fixed buffers,
// so that the handler reads them without allocating. A slot is free when its folder is empty.
constexpr int kMaxSlots = 32;
struct Slot {
    pid_t pid = 0;  // 0 for a folder without a server
    char dir[1024] = {};
};
Slot g_slots[kMaxSlots];
bool g_madePrivilegeSeparationDir = false;
int g_privilegeSeparationUsers = 0;

extern "C" void endServersAndReraise(int signalNumber) {
    char rm[] = "/bin/rm";
    char force[] = "-rf";
    char endOfOptions[] = "--";
    char privilegeSeparationDir[] = "/run/sshd";
    char* argv[kMaxSlots + 5] = {rm, force, endOfOptions};
    int argc = 3;
    for (Slot& slot : g_slots) {
        if (slot.pid > 0) {
            kill(-slot.pid, SIGKILL);
            kill(slot.pid, SIGKILL);
            waitpid(slot.pid, nullptr, 0);
        }
        if (slot.dir[0] != '\0') argv[argc++] = slot.dir;
    }
    if (g_madePrivilegeSeparationDir) argv[argc++] = privilegeSeparationDir;
    argv[argc] = nullptr;
    if (argc > 3) {
        const pid_t remover = fork();
        if (remover == 0) {
            execv(rm, argv);
            _exit(127);
        }
        if (remover > 0) waitpid(remover, nullptr, 0);
    }
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

// Changes to the slots are made with the two signals blocked.
class SignalsBlocked {
  public:
    SignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGINT);
        sigaddset(&set, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &set, &m_old);
    }
    ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

  private:
    sigset_t m_old;
};

// A signal that the test process ignores (a background job's SIGINT) stays ignored.
void installHandler() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (int signalNumber : {SIGINT, SIGTERM}) {
        struct sigaction current {};
        sigaction(signalNumber, nullptr, &current);
        if (current.sa_handler != SIG_DFL) continue;
        struct sigaction action {};
        action.sa_handler = endServersAndReraise;
        sigemptyset(&action.sa_mask);
        sigaction(signalNumber, &action, nullptr);
    }
}

int takeSlot(pid_t pid, const std::string& dir) {
    const SignalsBlocked blocked;
    installHandler();
    for (int k = 0; k < kMaxSlots; ++k) {
        if (g_slots[k].dir[0] != '\0') continue;
        std::snprintf(g_slots[k].dir, sizeof g_slots[k].dir, "%s", dir.c_str());
        g_slots[k].pid = pid;
        return k;
    }
    return -1;
}

void freeSlot(int slot) {
    const SignalsBlocked blocked;
    if (slot >= 0) g_slots[slot] = Slot{};
}

bool usePrivilegeSeparationDir() {
    const SignalsBlocked blocked;
    if (g_privilegeSeparationUsers++ == 0 && !std::filesystem::exists(kPrivilegeSeparationDir)) {
        if (mkdir(kPrivilegeSeparationDir, 0755) != 0) return false;
        g_madePrivilegeSeparationDir = true;
    }
    return true;
}

void releasePrivilegeSeparationDir() {
    const SignalsBlocked blocked;
    if (--g_privilegeSeparationUsers == 0 && g_madePrivilegeSeparationDir) {
        rmdir(kPrivilegeSeparationDir);
        g_madePrivilegeSeparationDir = false;
    }
}

// State and parent of a process by /proc; state 0 when it is gone.
struct ProcStat {
    char state = 0;
    pid_t parent = 0;
};

ProcStat procStat(pid_t pid) {
    ProcStat result;
    std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return result;
    std::istringstream rest(stat.substr(close + 1));
    rest >> result.state >> result.parent;
    return result;
}

std::vector<pid_t> allProcesses() {
    std::vector<pid_t> pids;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return pids;
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid > 0 && *end == '\0') pids.push_back(static_cast<pid_t>(pid));
    }
    closedir(proc);
    return pids;
}

// Stops the leader and all its descendants (stopped processes cannot fork any more); the
// processes stopped. Descendants may have left the process group (sshd gives each connection
// a session of its own).
std::set<pid_t> stopTree(pid_t leader) {
    kill(leader, SIGSTOP);
    std::set<pid_t> tree{leader};
    for (bool grown = true; grown;) {
        grown = false;
        for (pid_t pid : allProcesses()) {
            if (tree.count(procStat(pid).parent) != 0 && tree.insert(pid).second) {
                kill(pid, SIGSTOP);
                grown = true;
            }
        }
    }
    return tree;
}

// Kills the leader and all its descendants and waits until each is gone.
void killTree(pid_t leader) {
    const std::set<pid_t> tree = stopTree(leader);
    kill(-leader, SIGKILL);
    for (pid_t pid : tree) kill(pid, SIGKILL);
    waitpid(leader, nullptr, 0);
    // The others were adopted by the test process (a subreaper), or by the system when that
    // failed: then a zombie is as good as gone.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    for (pid_t pid : tree) {
        while (pid != leader && Clock::now() < deadline) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) break;
            const char state = procStat(pid).state;
            if (state == 0 || (state == 'Z' && procStat(pid).parent != getpid())) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

}  // namespace

RemovedOnInterrupt::RemovedOnInterrupt(const std::string& folder) : m_slot(takeSlot(0, folder)) {}

RemovedOnInterrupt::~RemovedOnInterrupt() { freeSlot(m_slot); }

int freeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

TestServer::TestServer() : m_port(freeLoopbackPort()) {
    if (m_port == 0) setupFailed("no free port on 127.0.0.1");
}

void TestServer::setupFailed(const std::string& reason) {
    m_setupFailed = true;
    m_setupLog += reason + "\n";
}

TestServer::~TestServer() { stop(); }

bool TestServer::runStep(const std::vector<std::string>& args) {
    ProcessOptions options;
    options.args = args;
    const ProcessResult result = runProcess(options);
    if (result.exitStatus == 0) return true;
    std::string reason = "set-up step failed:";
    for (const std::string& arg : args) reason += " " + arg;
    setupFailed(reason + "\n" + result.out + result.err);
    return false;
}

std::string TestServer::log() const {
    std::string text = m_setupLog;
    for (const char* name : {"server.log", "vsftpd.log"}) {
        if (fileExists(m_dir / name)) text += readFile(m_dir / name);
    }
    return text;
}

bool TestServer::start() {
    if (running()) return true;
    if (m_setupFailed || !configure()) return false;
    if (m_needsPrivilegeSeparationDir && !usePrivilegeSeparationDir()) {
        m_setupLog += std::string("cannot create ") + kPrivilegeSeparationDir + "\n";
        releasePrivilegeSeparationDir();
        return false;
    }
    // Processes that a server leaves when it is killed come to the test, which reaps them.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const std::vector<std::string> args = command();
    const std::string logPath = m_dir / "server.log";
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0) return false;
    setpgid(pid, pid);
    m_pid = pid;
    m_slot = takeSlot(pid, m_dir.path());
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            freeSlot(m_slot);
            m_pid = -1;
            if (m_needsPrivilegeSeparationDir) releasePrivilegeSeparationDir();
            m_setupLog += args[0] + " ended at its start\n";
            return false;
        }
        if (accepts(m_port)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop();
    m_setupLog += args[0] + " did not accept connections within 10 s\n";
    return false;
}

void TestServer::stop() {
    if (m_pid <= 0) return;
    killTree(m_pid);
    freeSlot(m_slot);
    m_pid = -1;
    if (m_needsPrivilegeSeparationDir) releasePrivilegeSeparationDir();
}

void TestServer::freeze() {
    if (m_pid > 0) stopTree(m_pid);
}

VsftpServer::VsftpServer() {
    namespace fs = std::filesystem;
    // vsftpd refuses an anonymous root that its user may write to: only www/ is writable.
    fs::create_directories(m_dir / "root/www");
    fs::create_directories(m_dir / "empty");
    if (!runStep({"/bin/chown", "ftp:ftp", m_dir / "root/www"})) return;
    runStep({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
             m_dir / "key.pem", "-out", certificateFile(), "-days", "7", "-subj", "/CN=127.0.0.1",
             "-addext", "subjectAltName=IP:127.0.0.1"});
}

std::string VsftpServer::url() const {
    return "ftp://anonymous@127.0.0.1:" + std::to_string(port()) + "/www/";
}

std::string VsftpServer::remoteFolder() const { return m_dir / "root/www"; }

std::string VsftpServer::certificateFile() const { return m_dir / "cert.pem"; }

int VsftpServer::completedUploads() const {
    if (!fileExists(m_dir / "xferlog")) return 0;
    // Each line ends "... i a PASSWORD ftp 0 * c" for a completed upload; the file name
    // before it may hold blanks, so the fields are counted from the end.
    std::istringstream lines(readFile(m_dir / "xferlog"));
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) fields.push_back(word);
        if (fields.size() >= 7 && fields[fields.size() - 7] == "i" && fields.back() == "c") {
            ++count;
        }
    }
    return count;
}

bool VsftpServer::configure() {
    std::vector<std::string> lines = {
        "listen=YES",
        "listen_ipv6=NO",
        "listen_address=127.0.0.1",
        "listen_port=" + std::to_string(port()),
        "background=NO",
        "anonymous_enable=YES",
        "local_enable=NO",
        "write_enable=YES",
        "anon_upload_enable=YES",
        "anon_mkdir_write_enable=YES",
        "anon_other_write_enable=YES",
        "anon_umask=022",
        "anon_root=" + (m_dir / "root"),
        "secure_chroot_dir=" + (m_dir / "empty"),
        "ssl_enable=YES",
        "allow_anon_ssl=YES",
        "force_anon_logins_ssl=YES",
        "force_anon_data_ssl=YES",
        "rsa_cert_file=" + certificateFile(),
        "rsa_private_key_file=" + (m_dir / "key.pem"),
        "xferlog_enable=YES",
        "xferlog_std_format=YES",
        "xferlog_file=" + (m_dir / "xferlog"),
        "dual_log_enable=YES",
        "log_ftp_protocol=YES",
        "vsftpd_log_file=" + (m_dir / "vsftpd.log"),
    };
    if (m_maxRate > 0) lines.push_back("anon_max_rate=" + std::to_string(m_maxRate));
    std::string config;
    for (const std::string& text : lines) config += text + "\n";
    writeFile(m_dir / "vsftpd.conf", config);
    return chmod((m_dir / "vsftpd.conf").c_str(), 0600) == 0;
}

std::vector<std::string> VsftpServer::command() const {
    return {"/usr/sbin/vsftpd", m_dir / "vsftpd.conf"};
}

PasswordFtpServer::PasswordFtpServer(std::string user, std::string password)
    : m_user(std::move(user)), m_password(std::move(password)) {
    std::filesystem::create_directories(m_dir / "home");
}

std::string PasswordFtpServer::url() const {
    return "ftp://" + m_user + "@127.0.0.1:" + std::to_string(port()) + "/";
}

std::string PasswordFtpServer::remoteFolder() const { return m_dir / "home"; }

bool PasswordFtpServer::configure() { return true; }

std::vector<std::string> PasswordFtpServer::command() const {
    // Debian's python3, which has the pyftpdlib package.
    return {"/usr/bin/python3",
            "-m",
            "pyftpdlib",
            "-i",
            "127.0.0.1",
            "-p",
            std::to_string(port()),
            "-w",
            "-d",
            remoteFolder(),
            "-u",
            m_user,
            "-P",
            m_password};
}

SshServer::SshServer(Keys keys) {
    m_needsPrivilegeSeparationDir = true;
    const char* type = keys == Keys::Rsa ? "rsa" : "ecdsa";
    for (const char* key : {"host_key", "client_key"}) {
        if (!runStep({"/usr/bin/ssh-keygen", "-q", "-t", type, "-m", "PEM", "-N", "", "-C",
                      std::string("pairweb-test-") + key, "-f", m_dir / key})) {
            return;
        }
    }
    writeFile(m_dir / "authorized_keys", readFile(clientKeyFile() + ".pub"));
    ProcessOptions options;
    options.args = {"/usr/bin/ssh-keygen", "-lf", m_dir / "host_key.pub"};
    std::istringstream words(runProcess(options).out);
    std::string bits;
    words >> bits >> m_fingerprint;
    if (m_fingerprint.rfind("SHA256:", 0) != 0) {
        setupFailed("ssh-keygen -lf gave no fingerprint of the host key");
    }
}

std::string SshServer::url() const {
    return "sftp://root@127.0.0.1:" + std::to_string(port()) + remoteFolder() + "/";
}

std::string SshServer::remoteFolder() const { return m_dir / "remote"; }

std::string SshServer::clientKeyFile() const { return m_dir / "client_key"; }

bool SshServer::configure() {
    const std::vector<std::string> lines = {
        "Port " + std::to_string(port()),
        "ListenAddress 127.0.0.1",
        "HostKey " + (m_dir / "host_key"),
        "PidFile " + (m_dir / "sshd.pid"),
        "UsePAM no",
        "StrictModes no",
        "AuthorizedKeysFile " + (m_dir / "authorized_keys"),
        "PermitRootLogin prohibit-password",
        "PasswordAuthentication no",
        "KbdInteractiveAuthentication no",
        "Subsystem sftp internal-sftp",
    };
    std::string config;
    for (const std::string& text : lines) config += text + "\n";
    writeFile(m_dir / "sshd_config", config);
    return true;
}

std::vector<std::string> SshServer::command() const {
    // sshd must be started by its absolute path; -D stays in the foreground, -e logs to
    // standard error (the server's log).
    return {"/usr/sbin/sshd", "-D", "-e", "-f", m_dir / "sshd_config"};
}

}  // namespace pairweb::testing
