#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace pairweb::testing {

ProcessResult runProcess(const ProcessOptions& options) {
    ProcessResult result;
    int outPipe[2];
    int errPipe[2];
    if (options.args.empty() || pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        return result;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
        if (options.dataLimitBytes) {
            const rlimit limit{static_cast<rlim_t>(*options.dataLimitBytes),
                               static_cast<rlim_t>(*options.dataLimitBytes)};
            setrlimit(RLIMIT_DATA, &limit);
        }
        for (const std::string& entry : options.env) putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv;
        for (const std::string& a : options.args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    const auto elapsed = [&] {
        return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start)
                                    .count());
    };
    bool interrupted = options.interruptSignal == 0;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        const int now = elapsed();
        if (now >= options.timeoutMs) {
            kill(pid, SIGKILL);
            result.timedOut = true;
            break;
        }
        if (!interrupted && now >= options.interruptAfterMs) {
            kill(pid, options.interruptSignal);
            interrupted = true;
        }
        const int wait = interrupted ? options.timeoutMs - now : options.interruptAfterMs - now;
        if (poll(fds, 2, std::max(1, std::min(wait, 100))) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP)) != 0) {
                char buffer[4096];
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, static_cast<std::size_t>(n));
                } else {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
    for (const pollfd& fd : fds) {
        if (fd.fd >= 0) close(fd.fd);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.elapsedMs = elapsed();
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

}  // namespace pairweb::testing
