#include <map>

#include "data/windows1252.h"
#include "site/layout.h"
#include "site/phone_pages.h"

namespace pairweb::site {
namespace {

// FNV-1a, 64 bits: a cheap hash whose only task is to change when any byte changes.
class Fnv64 {
  public:
    void add(std::string_view bytes) {
        for (const char ch : bytes) {
            m_value ^= static_cast<unsigned char>(ch);
            m_value *= 0x100000001b3ULL;
        }
    }
    std::string hex() const {
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text(16, '0');
        for (int k = 0; k < 16; ++k) {
            text[static_cast<std::size_t>(15 - k)] = kDigits[(m_value >> (4 * k)) & 0xF];
        }
        return text;
    }

  private:
    unsigned long long m_value = 0xcbf29ce484222325ULL;
};

}  // namespace

std::vector<PhoneFile> phoneSite(const PhoneContext& c, std::string_view publicUrl,
                                 const MakeQrCode& qrCode) {
    std::vector<PhoneFile> files;
    files.push_back({std::string(layout::kPhoneStylesheet), phoneStylesheet(c.options)});
    files.push_back({std::string(layout::kPhoneScript), std::string(phoneScript())});
    files.push_back({std::string(layout::kPhoneHome), phoneHomePage(c)});
    for (int r = 1; r <= c.t->roundCount; ++r) {
        files.push_back({layout::phoneRoundPage(r), phoneRoundPage(c, r)});
        if (c.t->rounds[static_cast<std::size_t>(r - 1)].commenced) {
            files.push_back({layout::phoneStandingsPage(r), phoneStandingsPage(c, r)});
        }
    }
    files.push_back({std::string(layout::kPhonePlayers), phonePlayersPage(c)});
    // One card per start rank: of several players with one start rank, the last.
    std::map<int, int> cards;
    for (int k = 0; k < c.t->playerCount; ++k) {
        const int rank = c.t->players[static_cast<std::size_t>(k)].startRank;
        if (rank >= 1) cards[rank] = k;
    }
    for (const auto& [rank, index] : cards) {
        files.push_back({layout::phonePlayerPage(rank), phonePlayerPage(c, index)});
    }
    if (!publicUrl.empty()) {
        std::string address(publicUrl);
        if (address.back() != '/') address += '/';
        address += std::string(layout::kPhoneFolder) + "/" + std::string(layout::kPhoneHome);
        std::optional<QrCode> code;
        if (qrCode) code = qrCode(data::windows1252ToUtf8(address));
        files.push_back({std::string(layout::kPhonePoster), phonePosterPage(c, address, code)});
    }

    Fnv64 hash;
    for (const PhoneFile& file : files) {
        hash.add(file.name);
        hash.add(std::string_view("\0", 1));
        hash.add(file.content);
        hash.add(std::string_view("\0", 1));
    }
    const std::string version = hash.hex();
    for (PhoneFile& file : files) {
        if (file.name.ends_with(".html") &&
            file.content.compare(kPhoneVersionOffset, kPhoneVersionPlaceholder.size(),
                                 kPhoneVersionPlaceholder) == 0) {
            file.content.replace(kPhoneVersionOffset, version.size(), version);
        }
    }
    files.push_back({std::string(layout::kPhoneVersion), version + "\r\n"});
    return files;
}

}  // namespace pairweb::site
