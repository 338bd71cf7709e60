#include "publish/publisher.h"

#include <cstdlib>
#include <random>

#include "platform/file_ops.h"
#include "platform/platform.h"
#include "publish/manifest.h"
#include "publish/site_files.h"
#include "publish/target.h"
#include "site/driver.h"

namespace pairweb::publish {
namespace {

constexpr std::string_view kTemporaryStart = "pairweb-upload-";
constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr std::size_t kMaxManifestBytes = 16 * 1024 * 1024;

}  // namespace

// Without a leading dot, since servers may hide dot files from the listings that the next
// publish cleans up with.
std::string temporaryName() {
    static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    std::string name(kTemporaryStart);
    for (int k = 0; k < 12; ++k) name += kLetters[random() % 36];
    return name + std::string(kTemporaryEnd);
}

namespace {

bool isTemporaryName(std::string_view name) {
    return name.starts_with(kTemporaryStart) && name.ends_with(kTemporaryEnd);
}

std::string kilobytes(std::uint64_t bytes) { return std::to_string((bytes + 1023) / 1024); }

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

struct Run {
    const settings::Settings& s;
    const Target& target;
    std::string siteFolder;
    PublishResult result;
    const RemoteSession* remote = nullptr;  // once connecting

    PublishResult stop(const std::string& path, const Step& step) {
        result.outcome = PublishOutcome::Stopped;
        result.path = path;
        result.reason = step.reason;
        if (step.reason == Reason::HostKeyNotTrusted && remote != nullptr) {
            result.serverHostKey = remote->serverHostKey();
        }
        result.message = "Error: publishing stopped at " + path + ": " + step.text();
        return result;
    }
};

}  // namespace

std::optional<platform::PasswordKey> passwordKeyFor(const settings::Settings& s) {
    std::string problem;
    const std::optional<Target> target = parseTarget(s.PublishUrl, s.PublishPlainFtp != 0, problem);
    if (!target) return std::nullopt;
    return passwordKey(*target);
}

Credentials credentialsFor(const settings::Settings& s, const platform::PasswordStore& store) {
    Credentials c;
    c.password = environment("PAIRWEB_PUBLISH_PASSWORD");
    if (c.password.empty()) {
        if (const auto key = passwordKeyFor(s)) c.password = store.find(*key).value_or("");
    }
#ifdef _WIN32
    const std::string home = environment("USERPROFILE");
    c.netrcFile = home.empty() ? std::string() : home + "\\_netrc";
#else
    const std::string home = environment("HOME");
    c.netrcFile = home.empty() ? std::string() : home + "/.netrc";
#endif
    c.caFile = s.PublishCaFile;
    c.hostKey = s.PublishHostKey;
    c.privateKeyFile = s.PublishKeyFile;
    return c;
}

PublishResult publishSite(const settings::Settings& s, const Credentials& credentials,
                          const PublishOptions& options, const ProgressReport& progress,
                          const std::atomic<bool>* cancel) {
    PublishResult result;
    if (s.PublishUrl.empty()) {
        result.outcome = PublishOutcome::NotSet;
        result.message = "Error: PublishUrl is not set: there is nowhere to publish to.";
        return result;
    }
    std::string problem;
    const std::optional<Target> target = parseTarget(s.PublishUrl, s.PublishPlainFtp != 0, problem);
    if (!target) {
        result.outcome = PublishOutcome::BadSetting;
        result.message = "Error: " + problem;
        return result;
    }
    const platform::Platform& system = platform::systemPlatform();
    const site::SitePaths paths = site::derivePaths(s, system.programPath(), system.separator());
    Run run{s, *target, paths.outputFolder, {}, nullptr};
    const std::optional<std::vector<SiteFile>> files = listSiteFiles(run.siteFolder, problem);
    if (!files) {
        result.outcome = PublishOutcome::SiteUnreadable;
        result.message = "Error: publishing stopped: " + problem + ".";
        return result;
    }
    run.result.total = static_cast<int>(files->size());

    // What was sent before, to this address only.
    const std::string manifestPath = run.siteFolder + std::string(kManifestName);
    Manifest manifest;
    std::string manifestText;
    if (platform::readWholeFile(manifestPath, manifestText, kMaxManifestBytes)) {
        if (auto read = parseManifest(manifestText); read && read->url == target->shown()) {
            manifest = std::move(*read);
        }
    }
    manifest.url = target->shown();

    if (options.dryRun) {
        for (const SiteFile& file : filesToUpload(*files, manifest, options.everything, {},
                                                  paths.homeFile)) {
            run.result.planned.push_back(file.path);
            run.result.bytes += file.state.size;
        }
        run.result.message = "Would publish " + std::to_string(run.result.planned.size()) +
                             " of " + std::to_string(run.result.total) + " files (" +
                             kilobytes(run.result.bytes) + " KB) to " + target->shown();
        return run.result;
    }

    RemoteSession remote(*target, credentials);
    run.remote = &remote;
    // The server's names in the folders that are sent to: its own round files are kept, and
    // temporary files of an earlier publish that was cut off are removed.
    std::vector<std::string> folders = {""};
    for (const SiteFile& file : *files) {
        const std::size_t slash = file.path.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : file.path.substr(0, slash + 1);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    std::vector<std::string> pgnNames;
    for (const std::string& folder : folders) {
        std::vector<std::string> names;
        const Step listed = remote.list(folder, names);
        if (listed.reason == Reason::NotFound) continue;  // made by the first upload into it
        if (!listed.ok()) return run.stop(target->url(folder), listed);
        for (const std::string& name : names) {
            if (!isTemporaryName(name)) continue;
            if (const Step removed = remote.remove(folder, name); !removed.ok()) {
                return run.stop(target->url(folder + name), removed);
            }
        }
        if (folder == "pgn/") pgnNames = std::move(names);
    }

    const std::vector<SiteFile> chosen =
        filesToUpload(*files, manifest, options.everything, pgnNames, paths.homeFile);
    std::uint64_t bytesTotal = 0;
    for (const SiteFile& file : chosen) bytesTotal += file.state.size;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        if (cancel != nullptr && cancel->load()) {
            run.result.outcome = PublishOutcome::Cancelled;
            run.result.message = "Publishing cancelled after " + std::to_string(run.result.sent) +
                                 " of " + std::to_string(chosen.size()) + " files.";
            return run.result;
        }
        const SiteFile& file = chosen[k];
        std::string content;
        if (!platform::readWholeFile(file.diskPath, content, file.state.size + 1)) {
            return run.stop(file.path, {Reason::Failed, "the local file cannot be read"});
        }
        const std::size_t slash = file.path.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : file.path.substr(0, slash + 1);
        const std::string name = file.path.substr(folder.size());
        const std::uint64_t before = run.result.bytes;
        const ByteProgress bytes = [&](std::uint64_t sent) {
            if (progress) {
                progress({file.path, static_cast<int>(k), static_cast<int>(chosen.size()),
                          before + sent, bytesTotal});
            }
        };
        bytes(0);
        if (const Step sent = remote.upload(folder, name, content, temporaryName(), bytes);
            !sent.ok()) {
            return run.stop(file.path, sent);
        }
        // Only what the server confirmed is recorded, at once, so that a publish cut off
        // later sends this file no more.
        manifest.files[file.path] = {content.size(), sha256Hex(content)};
        if (!platform::writeFileReplacing(manifestPath, publish::manifestText(manifest))) {
            return run.stop(std::string(kManifestName),
                            {Reason::Failed, "the site folder cannot be written"});
        }
        ++run.result.sent;
        run.result.bytes += content.size();
    }
    run.result.message = "Published " + std::to_string(run.result.sent) + " of " +
                         std::to_string(run.result.total) + " files (" +
                         kilobytes(run.result.bytes) + " KB) to " + target->shown();
    return run.result;
}

}  // namespace pairweb::publish
