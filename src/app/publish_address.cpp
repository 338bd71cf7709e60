#include "app/publish_address.h"

#include "publish/target.h"

namespace pairweb::app {
namespace {

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
    std::string problem;
    const auto target = publish::parseTarget(s.PublishUrl, s.PublishPlainFtp != 0, problem);
    if (!target) return a;
    if (target->protocol == publish::Protocol::Sftp) a.protocol = protocolNames()[1];
    a.host = target->host;
    a.port = target->port;
    a.user = target->user;
    a.folder = target->folder;
    return a;
}

void writeAddress(settings::Settings& s, const PublishAddress& typed) {
    // An address that the page showed and nobody changed stays as it is written, also one
    // that the page could not show in parts.
    const bool unchanged = typed == readAddress(s);
    s.PublishPlainFtp = typed.protocol == plainFtpName() ? 1 : 0;
    if (unchanged) return;
    publish::Target t;
    t.protocol =
        typed.protocol == protocolNames()[1] ? publish::Protocol::Sftp : publish::Protocol::FtpTls;
    t.host = trimmed(typed.host);
    t.port = trimmed(typed.port);
    t.user = trimmed(typed.user);
    if (t.host.empty() && t.user.empty() && t.port.empty()) {
        s.PublishUrl.clear();
        return;
    }
    std::string folder = trimmed(typed.folder);
    while (folder.starts_with('/')) folder.erase(0, 1);
    if (!folder.empty() && !folder.ends_with('/')) folder += '/';
    t.folder = "/" + folder;
    s.PublishUrl = t.shown();
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
