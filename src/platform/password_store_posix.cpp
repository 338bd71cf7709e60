// Passwords kept in the netrc file of the user's home ($HOME/.netrc), which curl and other
// FTP programs read too.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "platform/file_ops.h"
#include "platform/netrc.h"
#include "platform/password_store.h"

namespace pairweb::platform {
namespace {

constexpr std::size_t kMaxNetrcBytes = 1024 * 1024;

std::string netrcPath() {
    const char* home = std::getenv("HOME");
    return home == nullptr || *home == '\0' ? std::string() : std::string(home) + "/.netrc";
}

// Writes the file's new text to a temporary file that only the user may read, beside it,
// and renames it over the file.
bool writePrivately(const std::string& path, const std::string& text) {
    std::random_device random;
    const std::string temporary = path + ".pairweb-" + std::to_string(random()) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0600) == 0;
    for (std::size_t written = 0; ok && written < text.size();) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        ok = n > 0;
        if (ok) written += static_cast<std::size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

// The file's text: empty when there is no file; nothing when it cannot be read.
std::optional<std::string> readNetrc(const std::string& path) {
    if (path.empty()) return std::nullopt;
    if (!pathExists(path)) return std::string();
    std::string text;
    if (!readWholeFile(path, text, kMaxNetrcBytes)) return std::nullopt;
    return text;
}

class NetrcStore : public PasswordStore {
  public:
    std::optional<std::string> find(const PasswordKey& key) const override {
        const std::optional<std::string> text = readNetrc(netrcPath());
        if (!text) return std::nullopt;
        return netrcPassword(*text, key.host, key.user);
    }

    bool remember(const PasswordKey& key, const std::string& password) override {
        const std::string path = netrcPath();
        const std::optional<std::string> text = readNetrc(path);
        return text && writePrivately(path, netrcWithPassword(*text, key.host, key.user, password));
    }

    ForgetResult forget(const PasswordKey& key) override {
        const std::string path = netrcPath();
        const std::optional<std::string> text = readNetrc(path);
        if (!text) return ForgetResult::Failed;
        bool removed = false;
        const std::string rest = netrcWithout(*text, key.host, key.user, removed);
        if (!removed) return ForgetResult::NotKept;
        return writePrivately(path, rest) ? ForgetResult::Removed : ForgetResult::Failed;
    }

    std::string where() const override {
        const std::string path = netrcPath();
        return path.empty() ? std::string("the netrc file (HOME is not set)")
                            : "the netrc file " + path;
    }
};

}  // namespace

PasswordStore& systemPasswordStore() {
    static NetrcStore store;
    return store;
}

}  // namespace pairweb::platform
