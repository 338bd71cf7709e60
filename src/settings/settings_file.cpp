#include "settings/settings_file.h"

#include <array>
#include <cstdint>
#include <variant>

#include "data/windows1252.h"

namespace pairweb::settings {
namespace {

using TextMember = std::string Settings::*;
using FlagMember = std::int32_t Settings::*;
using ColourMember = std::uint32_t Settings::*;
using Member = std::variant<TextMember, FlagMember, ColourMember>;

struct Key {
    std::string_view name;
    Member member;
};

// The order in which the keys are written.
const std::array<Key, 65> kKeys = {{
    {"DisplayTiebreaks", &Settings::DisplayTiebreaks},
    {"MakePGN", &Settings::MakePGN},
    {"LinkPGN", &Settings::LinkPGN},
    {"FnamePrefix", &Settings::FnamePrefix},
    {"PGNSite", &Settings::PGNSite},
    {"PGNDate", &Settings::PGNDate},
    {"FontFamily", &Settings::FontFamily},
    {"TextColour1", &Settings::TextColour1},
    {"TitleColour", &Settings::TitleColour},
    {"BGColourMain", &Settings::BGColourMain},
    {"BGColourTable", &Settings::BGColourTable},
    {"BGColourHead", &Settings::BGColourHead},
    {"HeadTextColour", &Settings::HeadTextColour},
    {"LinkTextColour", &Settings::LinkTextColour},
    {"HeadHoverColour", &Settings::HeadHoverColour},
    {"TextHoverColour", &Settings::TextHoverColour},
    {"FirstTB", &Settings::FirstTB},
    {"SecondTB", &Settings::SecondTB},
    {"ThirdTB", &Settings::ThirdTB},
    {"DisplayRating", &Settings::DisplayRating},
    {"DisplayRating_2", &Settings::DisplayRating_2},
    {"DisplaySeed", &Settings::DisplaySeed},
    {"DisplayTitles", &Settings::DisplayTitles},
    {"TourneyName", &Settings::TourneyName},
    {"DisplayFed", &Settings::DisplayFed},
    {"DisplayClub", &Settings::DisplayClub},
    {"CrossStartrank", &Settings::CrossStartrank},
    {"TourneyType", &Settings::TourneyType},
    {"Disclaimer", &Settings::Disclaimer},
    {"OutputIndex", &Settings::OutputIndex},
    {"strFilename", &Settings::strFilename},
    {"Player_List", &Settings::Player_List},
    {"Pairings", &Settings::Pairings},
    {"Standings", &Settings::Standings},
    {"Crosstable", &Settings::Crosstable},
    {"Round", &Settings::Round},
    {"Name", &Settings::Name},
    {"Rank", &Settings::Rank},
    {"Seed", &Settings::Seed},
    {"Score", &Settings::Score},
    {"Federation", &Settings::Federation},
    {"Rating", &Settings::Rating},
    {"Rating_1", &Settings::Rating_1},
    {"Rating_2", &Settings::Rating_2},
    {"Bye", &Settings::Bye},
    {"Previous", &Settings::Previous},
    {"Next", &Settings::Next},
    {"Result", &Settings::Result},
    {"Board", &Settings::Board},
    {"Club", &Settings::Club},
    {"ToptitleSize", &Settings::ToptitleSize},
    {"TopSize", &Settings::TopSize},
    {"TitleSize", &Settings::TitleSize},
    {"HeadSize", &Settings::HeadSize},
    {"TextSize", &Settings::TextSize},
    {"CrosstableSize", &Settings::CrosstableSize},
    {"rrCrosstableSize", &Settings::rrCrosstableSize},
    {"PublishUrl", &Settings::PublishUrl},
    {"PublishPlainFtp", &Settings::PublishPlainFtp},
    {"PublishCaFile", &Settings::PublishCaFile},
    {"PublishHostKey", &Settings::PublishHostKey},
    {"PublishKeyFile", &Settings::PublishKeyFile},
    {"PhonePages", &Settings::PhonePages},
    {"PublicUrl", &Settings::PublicUrl},
    {"PublishAfterGenerate", &Settings::PublishAfterGenerate},
}};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Decimal integer as the file stores flags and colours: leading white space, an optional
// sign, digits up to the first non-digit; no digits gives 0; the result wraps modulo 2^32.
std::uint32_t parseWrapped(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    return negative ? 0u - value : value;
}

void applyLine(std::string_view line, Settings& settings, const platform::Platform& files) {
    const std::size_t blank = line.find(' ');
    const std::size_t open = line.find('[');
    if (blank == std::string_view::npos || open == std::string_view::npos) {
        return;
    }
    const std::string_view key = line.substr(0, blank);
    std::string_view value = line.substr(open + 1);
    if (const std::size_t close = value.find(']'); close != std::string_view::npos) {
        value = value.substr(0, close);
    }
    for (const Key& k : kKeys) {
        if (k.name != key) {
            continue;
        }
        if (const auto* text = std::get_if<TextMember>(&k.member)) {
            const bool path = *text == &Settings::strFilename || *text == &Settings::OutputIndex ||
                              *text == &Settings::PublishCaFile ||
                              *text == &Settings::PublishKeyFile;
            if (path && files.ansiPathsMayAppear() && !data::isValidUtf8(value)) {
                settings.*(*text) = data::windows1252ToUtf8(value);  // an ANSI path
            } else {
                settings.*(*text) = std::string(value);
            }
        } else if (const auto* flag = std::get_if<FlagMember>(&k.member)) {
            settings.*(*flag) = static_cast<std::int32_t>(parseWrapped(value));
        } else {
            settings.*(std::get<ColourMember>(k.member)) = parseWrapped(value);
        }
        return;
    }
}

}  // namespace

std::string settingsFilePath(std::string_view programPath, std::string_view slot,
                             const platform::Platform& files) {
    const char separator = files.separator();
    const std::size_t slash = programPath.rfind(separator);
    std::string path(slash == std::string_view::npos ? std::string_view{}
                                                     : programPath.substr(0, slash));
    path += separator;
    path += "pairweb";
    path += slot;
    path += ".cfg";
    return path;
}

std::string settingsFileText(const Settings& settings) {
    std::string text;
    for (const Key& k : kKeys) {
        text += k.name;
        text += " [";
        if (const auto* member = std::get_if<TextMember>(&k.member)) {
            text += settings.*(*member);
        } else if (const auto* flag = std::get_if<FlagMember>(&k.member)) {
            text += std::to_string(settings.*(*flag));
        } else {
            text += std::to_string(settings.*(std::get<ColourMember>(k.member)));
        }
        text += "]\r\n";
    }
    return text;
}

SettingsResult writeSettingsFile(const std::string& path, const Settings& settings,
                                 platform::Platform& files) {
    if (!files.writeFile(path, settingsFileText(settings))) {
        return {SettingsOutcome::NotSaved, std::string(kNotSavedMessage) + path, path};
    }
    return {SettingsOutcome::Saved, {}, path};
}

void applySettingsText(std::string_view text, Settings& settings, const platform::Platform& files) {
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        applyLine(line, settings, files);
        if (lf == std::string_view::npos) {
            break;
        }
        text.remove_prefix(lf + 1);
    }
}

SettingsResult readSettingsFile(const std::string& path, Settings& settings,
                                const platform::Platform& files) {
    if (!files.exists(path)) {
        return {SettingsOutcome::Missing, std::string(kMissingSettingsFileMessage), path};
    }
    std::string text;
    if (!files.readFile(path, text, kMaxSettingsFileBytes)) {
        return {SettingsOutcome::Unreadable, std::string(kUnreadableSettingsMessage), path};
    }
    applySettingsText(text, settings, files);
    return {SettingsOutcome::Loaded, {}, path};
}

}  // namespace pairweb::settings
