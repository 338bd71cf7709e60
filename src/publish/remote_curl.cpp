// The connection to the web host over libcurl: FTP with TLS, plain FTP and SFTP.
#include <curl/curl.h>

#include <algorithm>
#include <cstring>

#include "platform/password_hash.h"
#include "publish/remote.h"

namespace pairweb::publish {
namespace {

// How long a publish waits. A server that stops answering costs at most a wait and the
// goodbye after it (FTP's QUIT, answered or not within kAnswerSeconds): about 35 s.
constexpr long kConnectSeconds = 20;  // to reach the host (and a data connection)
constexpr long kStallSeconds = 20;    // without a byte of an upload moving
constexpr long kAnswerSeconds = 15;   // for the server's answer to a command
// A whole request is bounded too: a minute and the time its bytes take at a slow 4 KB/s.
constexpr long kRequestSeconds = 60;
constexpr long kSlowBytesPerMs = 4;

// libcurl's global state, set up once for the program.
void initialiseCurl() {
    static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)done;
}

std::string base64WithoutPadding(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += {kDigits[v >> 18], kDigits[(v >> 12) & 63], kDigits[(v >> 6) & 63], kDigits[v & 63]};
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += {kDigits[v >> 18], kDigits[(v >> 12) & 63]};
    } else if (i + 2 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += {kDigits[v >> 18], kDigits[(v >> 12) & 63], kDigits[(v >> 6) & 63]};
    }
    return out;
}

// A path for an SFTP command, in double quotes, as libcurl reads them.
std::string quoted(std::string_view path) {
    std::string out = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The list of commands for one request; libcurl keeps a pointer to it until the request ends.
class CommandList {
  public:
    CommandList() = default;
    CommandList(const CommandList&) = delete;
    CommandList& operator=(const CommandList&) = delete;
    ~CommandList() { curl_slist_free_all(m_list); }
    void add(const std::string& command) { m_list = curl_slist_append(m_list, command.c_str()); }
    curl_slist* get() const { return m_list; }

  private:
    curl_slist* m_list = nullptr;
};

struct Upload {
    std::string_view content;
    std::size_t sent = 0;
};

std::size_t readUpload(char* buffer, std::size_t size, std::size_t count, void* data) {
    auto* upload = static_cast<Upload*>(data);
    const std::size_t n = std::min(size * count, upload->content.size() - upload->sent);
    std::memcpy(buffer, upload->content.data() + upload->sent, n);
    upload->sent += n;
    return n;
}

std::size_t collect(char* data, std::size_t size, std::size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

std::size_t discard(char*, std::size_t size, std::size_t count, void*) { return size * count; }

}  // namespace

std::string_view reasonText(Reason reason) {
    switch (reason) {
        case Reason::None: return "done";
        case Reason::WrongPassword: return "wrong password";
        case Reason::HostKeyNotTrusted: return "host key not trusted";
        case Reason::CertificateNotTrusted: return "certificate not trusted";
        case Reason::NoEncryption: return "the server does not offer encryption";
        case Reason::HostNotReachable: return "host not reachable";
        case Reason::ConnectionLost: return "connection lost";
        case Reason::PermissionDenied: return "permission denied";
        case Reason::NoSpace: return "no space";
        case Reason::NotFound: return "not found";
        case Reason::Failed: break;
    }
    return "the server refused it";
}

std::string Step::text() const {
    return detail.empty() ? std::string(reasonText(reason))
                          : std::string(reasonText(reason)) + " (" + detail + ")";
}

struct RemoteSession::State {
    Target target;
    Credentials credentials;
    CURL* curl = nullptr;
    bool connected = false;      // some step reached the server
    std::string seenHostKey;     // the SFTP server's key fingerprint, once seen
    ByteProgress progress;

    bool sftp() const { return target.protocol == Protocol::Sftp; }

    // The remote path of a folder or file below the target's folder, for SFTP commands.
    std::string remotePath(const std::string& relative) const { return target.folder + relative; }

    static int checkHostKey(void* data, int, const char* key, std::size_t length) {
        auto* state = static_cast<State*>(data);
        const std::optional<std::string> digest =
            platform::sha256Digest(std::string_view(key, length));
        state->seenHostKey = digest ? "SHA256:" + base64WithoutPadding(*digest) : std::string();
        const bool trusted =
            !state->seenHostKey.empty() && state->seenHostKey == state->credentials.hostKey;
        return trusted ? CURLKHMATCH_OK : CURLKHMATCH_MISMATCH;
    }

    static int onProgress(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent) {
        auto* state = static_cast<State*>(data);
        if (state->progress) state->progress(static_cast<std::uint64_t>(sent));
        return 0;
    }

    // Sets what every request has in common; the connection itself is kept between them.
    void prepare(const std::string& url, std::size_t bytes = 0) {
        curl_easy_reset(curl);
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                         kRequestSeconds * 1000 + static_cast<long>(bytes) / kSlowBytesPerMs);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
        curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kAnswerSeconds);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
        if (!credentials.password.empty()) {
            curl_easy_setopt(curl, CURLOPT_PASSWORD, credentials.password.c_str());
        } else {
            curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
            if (!credentials.netrcFile.empty()) {
                curl_easy_setopt(curl, CURLOPT_NETRC_FILE, credentials.netrcFile.c_str());
            }
        }
        if (!sftp()) {
            // Passive mode by PASV (libcurl still uses EPSV on IPv6, where it must): a data
            // connection that fails after EPSV is tried again with PASV, which would add
            // a second long wait to a stalled server.
            curl_easy_setopt(curl, CURLOPT_FTP_USE_EPSV, 0L);
        }
        switch (target.protocol) {
            case Protocol::FtpTls:
                curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
                // TLS 1.3 with this libcurl breaks FTP data connections (uploads cut off,
                // a reused connection refused): 1.2 is what every FTPS server speaks well.
                curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                                 static_cast<long>(CURL_SSLVERSION_TLSv1_2) |
                                     static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
                if (!credentials.caFile.empty()) {
                    curl_easy_setopt(curl, CURLOPT_CAINFO, credentials.caFile.c_str());
#ifndef _WIN32
                    // The extra file comes on top of the system's certificates.
                    curl_easy_setopt(curl, CURLOPT_CAPATH, "/etc/ssl/certs");
#endif
                }
                break;
            case Protocol::PlainFtp:
                curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
                break;
            case Protocol::Sftp:
                curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                                 static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_PUBLICKEY |
                                                   CURLSSH_AUTH_KEYBOARD));
                curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYFUNCTION, checkHostKey);
                curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYDATA, this);
                if (!credentials.privateKeyFile.empty()) {
                    curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE,
                                     credentials.privateKeyFile.c_str());
                }
                break;
        }
    }

    // Runs the prepared request and says how it went in the user's words.
    Step perform() {
        const CURLcode code = curl_easy_perform(curl);
        long response = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response);
        const Step step = classify(code, response);
        if (code == CURLE_OK || (step.reason != Reason::HostNotReachable &&
                                 step.reason != Reason::HostKeyNotTrusted)) {
            connected = true;
        }
        return step;
    }

    Step classify(CURLcode code, long response) const {
        switch (code) {
            case CURLE_OK:
                return {};
            case CURLE_LOGIN_DENIED:
                return {Reason::WrongPassword, {}};
            case CURLE_PEER_FAILED_VERIFICATION:
                if (sftp()) {
                    return {Reason::HostKeyNotTrusted,
                            seenHostKey.empty()
                                ? std::string()
                                : "the server's key is " + seenHostKey +
                                      (credentials.hostKey.empty()
                                           ? "; check it and set PublishHostKey to it"
                                           : "; PublishHostKey is " + credentials.hostKey)};
                }
                return {Reason::CertificateNotTrusted, {}};
            case CURLE_SSL_CACERT_BADFILE:
            case CURLE_SSL_ISSUER_ERROR:
                return {Reason::CertificateNotTrusted, {}};
            case CURLE_USE_SSL_FAILED:
                return {Reason::NoEncryption, {}};
            case CURLE_COULDNT_RESOLVE_HOST:
            case CURLE_COULDNT_CONNECT:
            case CURLE_OPERATION_TIMEDOUT:
                // A server that answered, earlier in this publish or on this very request
                // (a data connection that then stalls or is refused), and now cannot be
                // reached is a connection lost.
                return {connected || response > 0 ? Reason::ConnectionLost
                                                  : Reason::HostNotReachable,
                        {}};
            case CURLE_REMOTE_DISK_FULL:
                return {Reason::NoSpace, {}};
            case CURLE_REMOTE_FILE_NOT_FOUND:
                return {Reason::NotFound, {}};
            case CURLE_REMOTE_ACCESS_DENIED:
            case CURLE_UPLOAD_FAILED:
            case CURLE_QUOTE_ERROR:
            case CURLE_FTP_COULDNT_RETR_FILE:
                if (response == 452 || response == 552) return {Reason::NoSpace, {}};
                if (response == 530) return {Reason::WrongPassword, {}};
                return {Reason::PermissionDenied, {}};
            case CURLE_SSH:
                // libssh2 reports a lost session this way; a refused login comes as
                // CURLE_LOGIN_DENIED.
                return {connected ? Reason::ConnectionLost : Reason::HostNotReachable, {}};
            default:
                break;
        }
        if (response == 530) return {Reason::WrongPassword, {}};
        if (response == 452 || response == 552) return {Reason::NoSpace, {}};
        return {Reason::ConnectionLost, curl_easy_strerror(code)};
    }
};

RemoteSession::RemoteSession(const Target& target, const Credentials& credentials)
    : m_state(std::make_unique<State>()) {
    initialiseCurl();
    m_state->target = target;
    m_state->credentials = credentials;
    m_state->curl = curl_easy_init();
}

RemoteSession::~RemoteSession() {
    if (m_state->curl != nullptr) curl_easy_cleanup(m_state->curl);
}

Step RemoteSession::list(const std::string& folder, std::vector<std::string>& names) {
    State& s = *m_state;
    if (s.curl == nullptr) return {Reason::Failed, "libcurl could not start"};
    s.prepare(s.target.url(folder));
    std::string text;
    curl_easy_setopt(s.curl, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(s.curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(s.curl, CURLOPT_WRITEDATA, &text);
    Step step = s.perform();
    // A folder that is not there: FTP servers refuse to change into it.
    if (step.reason == Reason::PermissionDenied && !s.sftp()) step.reason = Reason::NotFound;
    if (!step.ok()) return step;
    names.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string name = text.substr(start, end - start);
        if (!name.empty() && name.back() == '\r') name.pop_back();
        // Some servers answer with paths: the name is the last part.
        if (const std::size_t slash = name.rfind('/'); slash != std::string::npos) {
            name.erase(0, slash + 1);
        }
        if (!name.empty() && name != "." && name != "..") names.push_back(std::move(name));
        start = end + 1;
    }
    return {};
}

Step RemoteSession::upload(const std::string& folder, const std::string& name,
                           std::string_view content, const std::string& temporary,
                           const ByteProgress& progress) {
    State& s = *m_state;
    if (s.curl == nullptr) return {Reason::Failed, "libcurl could not start"};
    s.prepare(s.target.url(folder + temporary), content.size());
    Upload upload{content};
    CommandList after;
    if (s.sftp()) {
        // SFTP servers such as OpenSSH refuse to rename onto an existing file: the old one
        // goes just before (the "*" lets a missing one pass).
        after.add("*rm " + quoted(s.remotePath(folder + name)));
        after.add("rename " + quoted(s.remotePath(folder + temporary)) + " " +
                  quoted(s.remotePath(folder + name)));
    } else {
        after.add("RNFR " + temporary);
        after.add("RNTO " + name);
    }
    curl_easy_setopt(s.curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(s.curl, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(s.curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(s.curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(content.size()));
    curl_easy_setopt(s.curl, CURLOPT_FTP_CREATE_MISSING_DIRS,
                     static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(s.curl, CURLOPT_POSTQUOTE, after.get());
    s.progress = progress;
    curl_easy_setopt(s.curl, CURLOPT_NOPROGRESS, progress ? 0L : 1L);
    curl_easy_setopt(s.curl, CURLOPT_XFERINFOFUNCTION, State::onProgress);
    curl_easy_setopt(s.curl, CURLOPT_XFERINFODATA, &s);
    Step step = s.perform();
    s.progress = nullptr;
    if (step.reason == Reason::NotFound) step.reason = Reason::PermissionDenied;
    return step;
}

Step RemoteSession::remove(const std::string& folder, const std::string& name) {
    State& s = *m_state;
    if (s.curl == nullptr) return {Reason::Failed, "libcurl could not start"};
    s.prepare(s.target.url(folder));
    CommandList commands;
    if (s.sftp()) {
        commands.add("rm " + quoted(s.remotePath(folder + name)));
        curl_easy_setopt(s.curl, CURLOPT_QUOTE, commands.get());
        curl_easy_setopt(s.curl, CURLOPT_NOBODY, 1L);
    } else {
        // After the listing, the server is in the folder: the name needs no path.
        commands.add("DELE " + name);
        curl_easy_setopt(s.curl, CURLOPT_DIRLISTONLY, 1L);
        curl_easy_setopt(s.curl, CURLOPT_POSTQUOTE, commands.get());
    }
    return s.perform();
}

std::string RemoteSession::serverHostKey() const { return m_state->seenHostKey; }

}  // namespace pairweb::publish
