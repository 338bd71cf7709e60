#pragma once

#include <optional>
#include <string_view>

#include "site/qr_code.h"

namespace pairweb::qr {

// The QR code of a text (an address, in UTF-8), at the error correction level that keeps a
// printed code readable when part of it is soiled or torn (quartile, or higher where the
// size allows it); nothing when the text is too long for any QR code.
std::optional<site::QrCode> encodeQr(std::string_view text);

}  // namespace pairweb::qr
