#include "site/phone_parts.h"

namespace pairweb::site {

std::string qrSvg(const QrCode& code, std::string_view label) {
    constexpr int kQuiet = 4;  // modules of light margin that readers need around the code
    const int side = code.size + 2 * kQuiet;
    Page page;
    page << "<svg class=\"qr\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << side << " "
         << side << "\" shape-rendering=\"crispEdges\" role=\"img\" aria-label=\"" << html(label)
         << "\"><rect width=\"" << side << "\" height=\"" << side
         << "\" fill=\"#fff\"/><path fill=\"#000\" d=\"";
    // One rectangle per run of dark modules in a row.
    for (int y = 0; y < code.size; ++y) {
        for (int x = 0; x < code.size;) {
            if (!code.at(x, y)) {
                ++x;
                continue;
            }
            int run = 0;
            while (x + run < code.size && code.at(x + run, y)) ++run;
            page << "M" << (x + kQuiet) << " " << (y + kQuiet) << "h" << run << "v1h-" << run << "z";
            x += run;
        }
    }
    page << "\"/></svg>";
    return page.take();
}

std::string phonePosterPage(const PhoneContext& c, std::string_view address,
                            const std::optional<QrCode>& code) {
    Page page;
    phone::writeDocumentHead(page, c, "Poster");
    page.line("<body class=\"poster\">");
    page.line("<main>");
    page.line("<h1>", html(c.title), "</h1>");
    page.line("<p>Pairings, results and standings on your phone:</p>");
    if (code) {
        page.line(qrSvg(*code, "QR code of the address below"));
    }
    page.line("<p class=\"u\"><a href=\"", html(address), "\">", html(address), "</a></p>");
    page.line("</main>");
    page.line("</body>");
    page.line("</html>");
    return page.take();
}

}  // namespace pairweb::site
