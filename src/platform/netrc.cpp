#include "platform/netrc.h"

#include <vector>

namespace pairweb::platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct Token {
    std::string value;
    std::size_t begin = 0;  // of its first character (the quote of a quoted one)
    std::size_t end = 0;    // one past its last character
};

// One entry: from its "machine" or "default" token to its last token.
struct Entry {
    bool isDefault = false;
    std::string host;
    std::optional<std::string> login;
    std::optional<std::string> password;
    std::size_t begin = 0;
    std::size_t end = 0;
};

class Tokens {
  public:
    explicit Tokens(std::string_view text) : m_text(text) {}

    // The next token; nothing at the end of the text.
    std::optional<Token> next() {
        while (m_at < m_text.size()) {
            if (isBlank(m_text[m_at])) {
                ++m_at;
            } else if (m_text[m_at] == '#') {
                while (m_at < m_text.size() && m_text[m_at] != '\n') ++m_at;
            } else {
                break;
            }
        }
        if (m_at >= m_text.size()) return std::nullopt;
        Token t;
        t.begin = m_at;
        if (m_text[m_at] == '"') {
            for (++m_at; m_at < m_text.size() && m_text[m_at] != '"'; ++m_at) {
                char c = m_text[m_at];
                if (c == '\\' && m_at + 1 < m_text.size()) {
                    c = m_text[++m_at];
                    c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
                }
                t.value += c;
            }
            if (m_at < m_text.size()) ++m_at;  // the closing quote
        } else {
            while (m_at < m_text.size() && !isBlank(m_text[m_at])) t.value += m_text[m_at++];
        }
        t.end = m_at;
        return t;
    }

    // A macro's body runs from the next line to the first empty line.
    void skipMacroBody() {
        while (m_at < m_text.size() && m_text[m_at] != '\n') ++m_at;
        while (m_at < m_text.size()) {
            const std::size_t lineEnd = m_text.find('\n', m_at + 1);
            if (lineEnd == std::string_view::npos) {
                m_at = m_text.size();
            } else {
                const bool empty =
                    lineEnd == m_at + 1 || (lineEnd == m_at + 2 && m_text[m_at + 1] == '\r');
                m_at = lineEnd;
                if (empty) return;
            }
        }
    }

  private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

std::vector<Entry> entries(std::string_view text) {
    std::vector<Entry> found;
    Tokens tokens(text);
    Entry* current = nullptr;
    while (std::optional<Token> t = tokens.next()) {
        if (t->value == "machine" || t->value == "default") {
            found.push_back({});
            current = &found.back();
            current->isDefault = t->value == "default";
            current->begin = t->begin;
            current->end = t->end;
            if (!current->isDefault) {
                if (const std::optional<Token> host = tokens.next()) {
                    current->host = host->value;
                    current->end = host->end;
                }
            }
        } else if (t->value == "macdef") {
            current = nullptr;
            tokens.next();  // the macro's name
            tokens.skipMacroBody();
        } else if (current != nullptr &&
                   (t->value == "login" || t->value == "password" || t->value == "account")) {
            const std::optional<Token> value = tokens.next();
            if (!value) break;
            if (t->value == "login") current->login = value->value;
            if (t->value == "password") current->password = value->value;
            current->end = value->end;
        }
    }
    return found;
}

bool matches(const Entry& e, std::string_view host, std::string_view user) {
    return !e.isDefault && e.host == host && e.login && *e.login == user;
}

// The bytes an entry takes: whole lines when nothing else stands on them.
std::pair<std::size_t, std::size_t> span(std::string_view text, const Entry& e) {
    std::size_t begin = e.begin;
    const std::size_t lineStart = text.rfind('\n', e.begin == 0 ? 0 : e.begin - 1);
    const std::size_t from =
        e.begin == 0 || lineStart == std::string_view::npos ? 0 : lineStart + 1;
    if (text.substr(from, e.begin - from).find_first_not_of(" \t") == std::string_view::npos) {
        begin = from;
    }
    std::size_t end = e.end;
    const std::size_t lineEnd = text.find('\n', e.end);
    const std::size_t to = lineEnd == std::string_view::npos ? text.size() : lineEnd;
    // A comment after the entry on its line goes with it.
    const std::size_t rest = text.substr(e.end, to - e.end).find_first_not_of(" \t\r");
    if (rest == std::string_view::npos || text[e.end + rest] == '#') {
        end = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    }
    return {begin, end};
}

// The text with the spans of the entries of host and user replaced: the first by
// replacement, the others by nothing.
std::string replaced(std::string_view text, std::string_view host, std::string_view user,
                     const std::string& replacement, bool& found) {
    found = false;
    std::string out;
    std::size_t copied = 0;
    for (const Entry& e : entries(text)) {
        if (!matches(e, host, user)) continue;
        const auto [begin, end] = span(text, e);
        out.append(text.substr(copied, begin - copied));
        if (!found) out += replacement;
        found = true;
        copied = end;
    }
    out.append(text.substr(copied));
    return out;
}

}  // namespace

std::string netrcToken(std::string_view value) {
    bool plain = !value.empty() && value[0] != '"' && value[0] != '#';
    for (const char c : value) plain = plain && !isBlank(c) && c != '\\';
    if (plain) return std::string(value);
    std::string out = "\"";
    for (const char c : value) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::optional<std::string> netrcPassword(std::string_view text, std::string_view host,
                                         std::string_view user) {
    const std::vector<Entry> all = entries(text);
    for (const bool defaults : {false, true}) {
        for (const Entry& e : all) {
            if (e.isDefault != defaults || (!defaults && e.host != host)) continue;
            if (e.login && *e.login != user) continue;
            if (e.password) return e.password;
        }
    }
    return std::nullopt;
}

std::string netrcWithPassword(std::string_view text, std::string_view host, std::string_view user,
                              std::string_view password) {
    const std::string line = "machine " + netrcToken(host) + " login " + netrcToken(user) +
                             " password " + netrcToken(password) + "\n";
    bool found = false;
    std::string out = replaced(text, host, user, line, found);
    if (!found) {
        if (!out.empty() && out.back() != '\n') out += '\n';
        out += line;
    }
    return out;
}

std::string netrcWithout(std::string_view text, std::string_view host, std::string_view user,
                         bool& removed) {
    return replaced(text, host, user, {}, removed);
}

}  // namespace pairweb::platform
