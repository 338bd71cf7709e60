#include <algorithm>
#include <cmath>

#include "site/phone_parts.h"

namespace pairweb::site {
namespace {

// One sRGB channel "hh" as linear light.
double linearChannel(std::string_view hex) {
    int value = 0;
    for (const char ch : hex) {
        const int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                          : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                          : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                   : -1;
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance of "#rrggbb", or -1 when the text is no such colour.
double luminance(std::string_view colour) {
    if (colour.size() != 7 || colour[0] != '#') return -1;
    const double r = linearChannel(colour.substr(1, 2));
    const double g = linearChannel(colour.substr(3, 2));
    const double b = linearChannel(colour.substr(5, 2));
    if (r < 0 || g < 0 || b < 0) return -1;
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

// The contrast that text needs against its background (WCAG 2, level AA, body text).
constexpr double kTextContrast = 4.5;

bool readable(std::string_view text, std::string_view background) {
    return contrastRatio(text, background) >= kTextContrast;
}

// The colours of one theme, by custom property.
struct Theme {
    std::string bg = "#ffffff";  // page background
    std::string fg = "#1f2328";  // text
    std::string a = "#0550ae";   // links
    std::string t = "#1f2328";   // the page's heading
    std::string tb = "#ffffff";  // table background
    std::string hb = "#eef1f4";  // table head background
    std::string hf = "#1f2328";  // table head text
    std::string ln = "#d0d7de";  // rules between rows
    std::string mb = "#fff8c5";  // the chosen player's rows
    std::string mf = "#1f2328";
};

const Theme kDark = {"#0d1117", "#e6edf3", "#58a6ff", "#e6edf3", "#0d1117",
                     "#161b22", "#e6edf3", "#30363d", "#3b2e00", "#f0f6fc"};

void writeTheme(Page& page, const Theme& th) {
    page << "--bg:" << th.bg << ";--fg:" << th.fg << ";--a:" << th.a << ";--t:" << th.t
         << ";--tb:" << th.tb << ";--hb:" << th.hb << ";--hf:" << th.hf << ";--ln:" << th.ln
         << ";--mb:" << th.mb << ";--mf:" << th.mf;
}

}  // namespace

double contrastRatio(std::string_view a, std::string_view b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    if (la < 0 || lb < 0) return 1;
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string phoneStylesheet(const PageOptions& o) {
    // The organiser's page colours come as a whole (text, links and title on the page and on
    // the tables), the head colours as a pair; any pair that fails keeps its group neutral.
    Theme light;
    if (readable(o.TextColour1, o.BGColourMain) && readable(o.LinkTextColour, o.BGColourMain) &&
        readable(o.TitleColour, o.BGColourMain) && readable(o.TextColour1, o.BGColourTable) &&
        readable(o.LinkTextColour, o.BGColourTable)) {
        light.bg = o.BGColourMain;
        light.fg = o.TextColour1;
        light.a = o.LinkTextColour;
        light.t = o.TitleColour;
        light.tb = o.BGColourTable;
    }
    if (readable(o.HeadTextColour, o.BGColourHead)) {
        light.hb = o.BGColourHead;
        light.hf = o.HeadTextColour;
    }
    Page page;
    page << ":root{color-scheme:light dark;";
    writeTheme(page, light);
    page.line("}");
    page << "@media (prefers-color-scheme:dark){:root{";
    writeTheme(page, kDark);
    page.line("}}");
    page.line("*{box-sizing:border-box}");
    page.line("html{-webkit-text-size-adjust:100%;text-size-adjust:100%}");
    page.line(
        "body{margin:0;background:var(--bg);color:var(--fg);font:16px/1.5 system-ui,-apple-system,"
        "\"Segoe UI\",Roboto,Helvetica,Arial,sans-serif}");
    page.line("header,main,footer{max-width:60rem;margin:0 auto;padding:0 12px}");
    page.line("header{font-weight:700}");
    page.line("h1{color:var(--t);font-size:1.5rem;line-height:1.25;margin:8px 0 12px}");
    page.line("h2{font-size:1.25rem;margin:24px 0 8px}");
    page.line("a{color:var(--a);text-underline-offset:2px}");
    page.line("a,button{display:inline-block;min-width:24px;min-height:24px}");
    page.line("header a,nav a,footer a,.rl a{padding:10px 6px}");
    // Names in tables wrap as text does; their padding keeps each line 24px high to tap.
    page.line("td a,th a{display:inline;padding:4px 0}");
    page.line("nav{margin:0 0 8px}");
    page.line("footer{margin:16px auto 72px}");
    page.line(".w{overflow-x:auto;margin:0 0 16px}");
    page.line("table{border-collapse:collapse;width:100%;background:var(--tb);color:var(--fg)}");
    page.line("caption{text-align:left;font-weight:700;padding:4px 0}");
    page.line(
        "th,td{padding:6px;text-align:left;vertical-align:top;border-bottom:1px solid "
        "var(--ln)}");
    page.line("thead th{background:var(--hb);color:var(--hf);white-space:nowrap}");
    page.line("tbody th{font-weight:400}");
    page.line("tr.me>*{background:var(--mb);color:var(--mf)}");
    page.line("tr.me a{color:var(--mf);font-weight:700}");
    page.line(".s{margin:0 0 16px}");
    page.line(".s label{display:block;font-weight:700;margin:0 0 4px}");
    page.line(
        ".s input{width:100%;min-height:44px;padding:8px;font:inherit;color:var(--fg);"
        "background:var(--bg);border:1px solid var(--fg);border-radius:4px}");
    page.line("button{min-height:44px;padding:0 16px;font:inherit}");
    page.line(".mk{margin:0 0 16px}");
    page.line(".mk button{margin-left:8px}");
    page.line(
        ".nt{position:fixed;left:0;right:0;bottom:0;margin:0;padding:12px;background:var(--fg);"
        "color:var(--bg);text-align:center}");
    page.line(".nt button{margin-left:12px}");
    page.line(".rl{list-style:none;padding:0;margin:0}");
    page.line(".rl li{border-bottom:1px solid var(--ln)}");
    page.line("dl.c{display:grid;grid-template-columns:auto 1fr;gap:4px 16px;margin:0 0 16px}");
    page.line("dl.c dt{font-weight:700}");
    page.line("dl.c dd{margin:0}");
    page.line(":focus-visible{outline:3px solid var(--a);outline-offset:2px}");
    page.line(".poster main{text-align:center}");
    page.line(".poster h1{font-size:2.5rem;margin:24px 0}");
    page.line(".poster p{font-size:1.25rem}");
    page.line(".qr{display:block;width:120mm;max-width:100%;height:auto;margin:16px auto}");
    page.line(".u{word-break:break-all}");
    page.line("@page{size:A4;margin:15mm}");
    page.line(
        "@media print{header,nav,footer,.s,.mk,.nt,#find{display:none}body{background:#fff;"
        "color:#000}h1,a,caption,th,td{color:#000}table{background:#fff}thead th{background:#fff;"
        "border-bottom:2px solid #000}.w{overflow:visible}a{text-decoration:none}}");
    return page.take();
}

}  // namespace pairweb::site
