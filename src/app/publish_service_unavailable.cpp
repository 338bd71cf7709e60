// The apps built without libcurl: publishing and the connection test refuse with a message.
#include "app/publish_service.h"

namespace pairweb::app {
namespace {

constexpr std::string_view kUnavailable =
    "Error: this pairweb was built without publishing (no libcurl).";

class UnavailablePublishService : public PublishService {
  public:
    publish::Credentials credentials(const settings::Settings&) override { return {}; }
    std::optional<platform::PasswordKey> passwordKey(const settings::Settings&) override {
        return std::nullopt;
    }
    publish::PublishResult publish(const settings::Settings&, const publish::Credentials&,
                                   const publish::ProgressReport&,
                                   const std::atomic<bool>&) override {
        publish::PublishResult result;
        result.outcome = publish::PublishOutcome::BadSetting;
        result.message = std::string(kUnavailable);
        return result;
    }
    publish::ConnectionCheck check(const settings::Settings&,
                                   const publish::Credentials&) override {
        publish::ConnectionCheck check;
        check.outcome = publish::CheckOutcome::BadSetting;
        check.message = std::string(kUnavailable);
        return check;
    }
};

}  // namespace

std::unique_ptr<PublishService> makePublishService(platform::PasswordStore&) {
    return std::make_unique<UnavailablePublishService>();
}

}  // namespace pairweb::app
