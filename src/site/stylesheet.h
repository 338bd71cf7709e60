#pragma once

#include <string>

#include "site/page_options.h"

namespace pairweb::site {

// The 32 lines of "style.css" from the colours, fonts and sizes of the options.
std::string stylesheetText(const PageOptions& o);

}  // namespace pairweb::site
