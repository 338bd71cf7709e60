#include "publish/target.h"

#include <cctype>

namespace pairweb::publish {
namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%XX" sequences decoded; nothing when one is malformed or decodes to a control character.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size() || hexValue(text[i + 1]) < 0 ||
                hexValue(text[i + 2]) < 0) {
                return std::nullopt;
            }
            c = static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
        out += c;
    }
    return out;
}

std::string percentEncoded(std::string_view text, std::string_view keep) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (std::isalnum(b) || keep.find(c) != std::string_view::npos) {
            out += c;
        } else {
            out += '%';
            out += kDigits[b >> 4];
            out += kDigits[b & 0x0F];
        }
    }
    return out;
}

}  // namespace

std::string Target::shown() const {
    std::string out = protocol == Protocol::Sftp ? "sftp://" : "ftp://";
    out += percentEncoded(user, "-._~") + "@" + host;
    if (!port.empty()) out += ":" + port;
    return out + percentEncoded(folder, "-._~/!$&'()*+,;=:@");
}

platform::PasswordKey passwordKey(const Target& target) {
    std::string host = target.host;
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    return {target.protocol == Protocol::Sftp ? "sftp" : "ftp", host, target.user};
}

std::string Target::url(std::string_view relativePath) const {
    return shown() + percentEncoded(relativePath, "-._~/");
}

std::optional<Target> parseTarget(std::string_view publishUrl, bool plainFtpAllowed,
                                  std::string& problem) {
    const auto refuse = [&problem](std::string why) -> std::optional<Target> {
        problem = std::move(why);
        return std::nullopt;
    };
    constexpr std::string_view kForm =
        " (it must be ftp://USER@HOST/FOLDER/ or sftp://USER@HOST/FOLDER/).";
    const std::size_t schemeEnd = publishUrl.find("://");
    if (schemeEnd == std::string_view::npos) {
        return refuse("PublishUrl is not an address" + std::string(kForm));
    }
    Target t;
    const std::string scheme = lower(publishUrl.substr(0, schemeEnd));
    if (scheme == "sftp") {
        t.protocol = Protocol::Sftp;
    } else if (scheme == "ftp") {
        t.protocol = plainFtpAllowed ? Protocol::PlainFtp : Protocol::FtpTls;
    } else {
        return refuse("PublishUrl names the protocol \"" + scheme + "\"" + std::string(kForm));
    }
    std::string_view rest = publishUrl.substr(schemeEnd + 3);
    const std::size_t slash = rest.find('/');
    const std::string_view authority = rest.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? "/" : rest.substr(slash);
    const std::size_t at = authority.rfind('@');
    if (at == std::string_view::npos || at == 0) {
        return refuse("PublishUrl names no user" + std::string(kForm));
    }
    const auto user = percentDecoded(authority.substr(0, at));
    if (!user) return refuse("PublishUrl holds a user name that cannot be read.");
    if (user->find(':') != std::string::npos) {
        return refuse("PublishUrl may not hold the password: keep it in the netrc file or in "
                      "PAIRWEB_PUBLISH_PASSWORD.");
    }
    t.user = *user;
    std::string_view hostPort = authority.substr(at + 1);
    const std::size_t bracket = hostPort.rfind(']');
    const std::size_t colon = hostPort.rfind(':');
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        t.port = std::string(hostPort.substr(colon + 1));
        hostPort = hostPort.substr(0, colon);
        const bool digits = !t.port.empty() && t.port.size() <= 5 &&
                            t.port.find_first_not_of("0123456789") == std::string::npos;
        if (!digits || std::stoi(t.port) < 1 || std::stoi(t.port) > 65535) {
            return refuse("PublishUrl names the port \"" + t.port + "\", which is not a port.");
        }
    }
    for (const char c : hostPort) {
        const auto b = static_cast<unsigned char>(c);
        if (!(std::isalnum(b) || c == '.' || c == '-' || c == '[' || c == ']' || c == ':')) {
            return refuse("PublishUrl names no host" + std::string(kForm));
        }
    }
    if (hostPort.empty()) return refuse("PublishUrl names no host" + std::string(kForm));
    t.host = std::string(hostPort);
    const auto folder = percentDecoded(path);
    if (!folder || folder->find("/../") != std::string::npos || folder->ends_with("/..")) {
        return refuse("PublishUrl names a folder that cannot be used.");
    }
    t.folder = *folder;
    if (!t.folder.ends_with('/')) t.folder += '/';
    return t;
}

}  // namespace pairweb::publish
