#pragma once

// For the screenshots of the progress dialog: a publisher that sends nothing, but tells the
// flow it is sending the sample site's twelfth file of 58 and stays there until Cancel, and
// a password store that knows the club's password, so that nothing is asked.

#include <chrono>
#include <thread>

#include "app/publish_service.h"

namespace pairweb::tools {

class SamplePasswordStore : public platform::PasswordStore {
  public:
    std::optional<std::string> find(const platform::PasswordKey&) const override {
        return "sample";
    }
    bool remember(const platform::PasswordKey&, const std::string&) override { return true; }
    platform::ForgetResult forget(const platform::PasswordKey&) override {
        return platform::ForgetResult::NotKept;
    }
    std::string where() const override { return "the sample store"; }
};

class SamplePublishService : public app::PublishService {
  public:
    static constexpr int kFiles = 58;
    static constexpr int kShownFile = 11;  // from 0

    publish::Credentials credentials(const settings::Settings&) override {
        return {"sample", {}, {}, {}, {}};
    }
    std::optional<platform::PasswordKey> passwordKey(const settings::Settings&) override {
        return platform::PasswordKey{"ftp", "ftp.example.org", "club"};
    }
    publish::PublishResult publish(const settings::Settings&, const publish::Credentials&,
                                   const publish::ProgressReport& progress,
                                   const std::atomic<bool>& cancel) override {
        publish::PublishResult result;
        result.outcome = publish::PublishOutcome::Cancelled;
        for (int k = 0; k <= kShownFile; ++k) {
            progress({k == kShownFile ? "pgn/round5.pgn" : "page.html", k, kFiles,
                      static_cast<std::uint64_t>(k) * 9000, kFiles * 9000});
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!cancel && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        result.message = "Publishing cancelled after 12 of 58 files.";
        return result;
    }
    publish::ConnectionCheck check(const settings::Settings&,
                                   const publish::Credentials&) override {
        return {};
    }
};

}  // namespace pairweb::tools
