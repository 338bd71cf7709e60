#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include "platform/password_store.h"
#include "publish/connection_check.h"
#include "publish/publisher.h"
#include "settings/settings.h"

namespace pairweb::app {

// What the apps take from the publishing layer: the credentials of the settings, a publish
// of the generated site and a test of the connection. The real one is the layer over
// libcurl; tests give their own.
class PublishService {
  public:
    virtual ~PublishService() = default;
    // The password (from PAIRWEB_PUBLISH_PASSWORD or the password store) and key files.
    virtual publish::Credentials credentials(const settings::Settings& s) = 0;
    // The password store's key of the settings' address; nothing when it cannot be read.
    virtual std::optional<platform::PasswordKey> passwordKey(const settings::Settings& s) = 0;
    // Publishes as publish::publishSite does. Runs on a worker thread: it must not touch
    // anything the dialog's thread uses.
    virtual publish::PublishResult publish(const settings::Settings& s,
                                           const publish::Credentials& credentials,
                                           const publish::ProgressReport& progress,
                                           const std::atomic<bool>& cancel) = 0;
    // Tests the connection as publish::checkConnection does; on a worker thread too.
    virtual publish::ConnectionCheck check(const settings::Settings& s,
                                           const publish::Credentials& credentials) = 0;
};

// The publishing layer over libcurl, with passwords from store (a program built without
// libcurl gets one that refuses with a message).
std::unique_ptr<PublishService> makePublishService(platform::PasswordStore& store);

}  // namespace pairweb::app
