#pragma once

#include <string>

#include "platform/platform.h"

namespace pairweb::data {

// True when a dBASE III file holds every record its header announces. A table that the
// pairing program is still writing fails this test (as does one that cannot be read or is
// larger than a table may be); the generation itself reads such a
// table as far as it goes, but a watcher should wait for the rest.
bool tableIsComplete(const std::string& path,
                     const platform::Platform& files = platform::systemPlatform());

}  // namespace pairweb::data
