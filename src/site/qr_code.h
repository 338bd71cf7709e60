#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace pairweb::site {

// A QR code's modules: size rows of size modules each, row by row from the top left; true
// is a dark module. The quiet zone around it is not included.
struct QrCode {
    int size = 0;
    std::vector<bool> dark;  // size * size entries

    bool at(int x, int y) const {
        return dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                    static_cast<std::size_t>(x)];
    }
};

// Makes the QR code of a text (its bytes as they are), or nothing when it cannot. The core
// draws what it is given; the encoder lives beside the core (pairweb_qr).
using MakeQrCode = std::function<std::optional<QrCode>(std::string_view text)>;

}  // namespace pairweb::site
