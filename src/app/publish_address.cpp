#include "app/publish_address.h"

#include <cctype>

namespace pairweb::app {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%XX" decoded; a malformed sequence stays as it is.
std::string decoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string encoded(const std::string& text, std::string_view keep) {
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

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

const std::vector<std::string>& protocolNames() {
    static const std::vector<std::string> kNames = {"FTP with TLS", "SFTP",
                                                    "FTP without encryption"};
    return kNames;
}

const std::string& plainFtpName() { return protocolNames()[2]; }

PublishAddress readAddress(const settings::Settings& s) {
    PublishAddress a;
    a.protocol = s.PublishPlainFtp != 0 ? plainFtpName() : protocolNames()[0];
    const std::string& url = s.PublishUrl;
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos) return a;
    std::string scheme = url.substr(0, schemeEnd);
    for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (scheme == "sftp") a.protocol = protocolNames()[1];
    const std::string rest = url.substr(schemeEnd + 3);
    const std::size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    a.folder = slash == std::string::npos ? "/" : decoded(rest.substr(slash));
    if (const std::size_t at = authority.rfind('@'); at != std::string::npos) {
        a.user = decoded(authority.substr(0, at));
        authority.erase(0, at + 1);
    }
    const std::size_t bracket = authority.rfind(']');
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        a.port = authority.substr(colon + 1);
        authority.erase(colon);
    }
    a.host = authority;
    return a;
}

void writeAddress(settings::Settings& s, const PublishAddress& typed) {
    const std::string host = trimmed(typed.host);
    const std::string port = trimmed(typed.port);
    const std::string user = trimmed(typed.user);
    std::string folder = trimmed(typed.folder);
    s.PublishPlainFtp = typed.protocol == plainFtpName() ? 1 : 0;
    if (host.empty() && user.empty() && port.empty()) {
        s.PublishUrl.clear();
        return;
    }
    while (folder.starts_with('/')) folder.erase(0, 1);
    if (!folder.empty() && !folder.ends_with('/')) folder += '/';
    s.PublishUrl = std::string(typed.protocol == protocolNames()[1] ? "sftp" : "ftp") + "://" +
                   encoded(user, "-._~") + "@" + host +
                   (port.empty() ? std::string() : ":" + port) + "/" +
                   encoded(folder, "-._~/!$&'()*+,;=:@");
}

std::string& partOf(PublishAddress& a, AddressPart part) {
    switch (part) {
        case AddressPart::Protocol:
            return a.protocol;
        case AddressPart::Host:
            return a.host;
        case AddressPart::Port:
            return a.port;
        case AddressPart::User:
            return a.user;
        case AddressPart::Folder:
        case AddressPart::None:
            break;
    }
    return a.folder;
}

}  // namespace pairweb::app
