#include "app/publish_service.h"

namespace pairweb::app {
namespace {

class CurlPublishService : public PublishService {
  public:
    explicit CurlPublishService(platform::PasswordStore& store) : m_store(store) {}

    publish::Credentials credentials(const settings::Settings& s) override {
        return publish::credentialsFor(s, m_store);
    }
    std::optional<platform::PasswordKey> passwordKey(const settings::Settings& s) override {
        return publish::passwordKeyFor(s);
    }
    publish::PublishResult publish(const settings::Settings& s,
                                   const publish::Credentials& credentials,
                                   const publish::ProgressReport& progress,
                                   const std::atomic<bool>& cancel) override {
        return publish::publishSite(s, credentials, {}, progress, &cancel);
    }
    publish::ConnectionCheck check(const settings::Settings& s,
                                   const publish::Credentials& credentials) override {
        return publish::checkConnection(s, credentials);
    }

  private:
    platform::PasswordStore& m_store;
};

}  // namespace

std::unique_ptr<PublishService> makePublishService(platform::PasswordStore& store) {
    return std::make_unique<CurlPublishService>(store);
}

}  // namespace pairweb::app
