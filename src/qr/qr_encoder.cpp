#include "qr/qr_encoder.h"

#include <string>

#ifndef PAIRWEB_NO_QRCODEGEN
#include <qrcodegen.hpp>
#endif

namespace pairweb::qr {

#ifdef PAIRWEB_NO_QRCODEGEN
std::optional<site::QrCode> encodeQr(std::string_view) { return std::nullopt; }
#else
std::optional<site::QrCode> encodeQr(std::string_view text) {
    const std::string bytes(text);
    try {
        const qrcodegen::QrCode code =
            qrcodegen::QrCode::encodeText(bytes.c_str(), qrcodegen::QrCode::Ecc::QUARTILE);
        site::QrCode out;
        out.size = code.getSize();
        out.dark.reserve(static_cast<std::size_t>(out.size) * static_cast<std::size_t>(out.size));
        for (int y = 0; y < out.size; ++y) {
            for (int x = 0; x < out.size; ++x) {
                out.dark.push_back(code.getModule(x, y));
            }
        }
        return out;
    } catch (const qrcodegen::data_too_long&) {
        return std::nullopt;
    }
}
#endif

}  // namespace pairweb::qr
