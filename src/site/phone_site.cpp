#include <cstdint>
#include <cstring>
#include <map>

#include "data/windows1252.h"
#include "site/layout.h"
#include "site/phone_pages.h"

namespace pairweb::site {
namespace {

// A 64-bit hash whose only task is to change when any byte changes: eight bytes a step,
// each step multiplied and folded (the constants of splitmix64).
class ChangeHash {
  public:
    void add(std::string_view bytes) {
        std::size_t at = 0;
        for (; at + 8 <= bytes.size(); at += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + at, 8);
            mix(word);
        }
        std::uint64_t last = bytes.size();  // the length, and the bytes that are left
        for (; at < bytes.size(); ++at) last = (last << 8) | static_cast<unsigned char>(bytes[at]);
        mix(last);
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
    void mix(std::uint64_t word) {
        std::uint64_t z = (m_value ^ word) + 0x9e3779b97f4a7c15ULL;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        m_value = z ^ (z >> 31);
    }
    std::uint64_t m_value = 0;
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

    ChangeHash hash;
    for (const PhoneFile& file : files) {
        hash.add(file.name);
        hash.add(file.content);
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
