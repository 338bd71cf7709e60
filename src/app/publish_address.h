#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

namespace pairweb::app {

// The Publish page shows PublishUrl and PublishPlainFtp as separate controls: the protocol
// from a list, host, port, user name and remote folder, all UTF-8 as the page shows them.
struct PublishAddress {
    std::string protocol;  // an entry of protocolNames()
    std::string host;
    std::string port;  // empty for the protocol's default
    std::string user;
    std::string folder;  // decoded ("/www/"); empty when there is no address
    bool operator==(const PublishAddress&) const = default;
};

// Which part of the address a control of the page shows.
enum class AddressPart { None, Protocol, Host, Port, User, Folder };

// The protocol list's entries, in their order: "FTP with TLS", "SFTP",
// "FTP without encryption".
const std::vector<std::string>& protocolNames();
// The entry that means FTP without encryption.
const std::string& plainFtpName();

// The parts of the settings' address; what does not fit the form "SCHEME://USER@HOST[:PORT]/
// FOLDER" reads as parts left empty.
PublishAddress readAddress(const settings::Settings& s);
// Writes PublishUrl and PublishPlainFtp from the parts, percent-encoding what an address
// needs encoded; parts equal to what readAddress shows leave both as they are. Without
// host, user and port the address is empty: no publishing.
void writeAddress(settings::Settings& s, const PublishAddress& a);

// One part of an address, and the address with one part set.
std::string& partOf(PublishAddress& a, AddressPart part);

}  // namespace pairweb::app
