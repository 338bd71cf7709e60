#include "site/fragments.h"
#include "site/layout.h"
#include "site/pages.h"

namespace pairweb::site {
namespace {

// Head of both round index pages, up to and including "</head>".
void writeIndexHead(Page& page, const std::string& title, const std::string& label) {
    page.line("<html>");
    page.line("<head>");
    writeNoCacheBlock(page);
    writeStylesheetLink(page);
    page.line("<title>", title, " ", label, "</title>");
    page.line("</head>");
}

}  // namespace

std::string framesetPage(const std::string& title, bool phoneRedirect) {
    Page page;
    page.line("<html>");
    page.line("<head>");
    page.line("<title>", title, "</title>");
    if (phoneRedirect) {
        // The frameset has no viewport, so a phone lays it out wide: the screen tells.
        page.line("<script>if(screen.width<=700&&location.search!=\"?full\")location.replace(\"",
                  layout::kPhoneFolder, "/", layout::kPhoneHome, "\")</script>");
    }
    page.line("</head>");
    page.line("<frameset rows=\"80,*\" framespacing=\"0\" border=\"0\" frameborder=\"0\">");
    page.line("<frame name=\"banner\" scrolling=\"no\" target=\"main\" src=\"contents.html\">");
    page.line("<frame name=\"main\" src=\"player_list.html\" target=\"_self\" scrolling=\"auto\">");
    page.line("</frameset>");
    page.line("<noframes>");
    page.line("<body>");
    page.line("<p>This page uses frames, but your browser doesn't support them.</p>");
    page.line("</body>");
    page.line("</noframes>");
    page.line("</frameset>");
    page.line("</html>");
    return page.take();
}

std::string pairingsIndexPage(int roundCount, const std::string& title, const PageOptions& o,
                              const PageLabels& labels, const std::string& homeFile) {
    Page page;
    writeIndexHead(page, title, labels.Pairings);
    page.line("<body><center>");
    page.line("<table width=250>");
    page.line("<tr><td class=\"title\">", labels.Pairings, "</td></tr>");
    for (int i = 1; i <= roundCount; ++i) {
        page.line("<tr><td><a href=\"results_round", i, ".html\" target=\"main\">", labels.Round,
                  " ", i, "</a></td></tr>");
    }
    writeFooter(page, homeFile, o.generationTime);
    page.line("</html>");
    return page.take();
}

std::string standingsIndexPage(int listedRounds, const std::string& title, const PageOptions& o,
                               const PageLabels& labels, const std::string& homeFile) {
    Page page;
    writeIndexHead(page, title, labels.Standings);
    page.line("<body><center><table width=250>");
    page.line("<tr><td class=\"title\">", labels.Standings, "</td></tr>");
    for (int i = 1; i <= listedRounds; ++i) {
        page.line("<tr><td><a href=\"standings_round", i, ".html\" target=\"main\">", labels.Round,
                  " ", i, "</a></td></tr>");
    }
    writeFooter(page, homeFile, o.generationTime);
    page.line("</html>");
    return page.take();
}

std::string adminPage(int roundCount, const std::string& title, const PageOptions& o) {
    Page page;
    page.line("<?php include \"", layout::kPgnFolder, "/", layout::kPasswordProtectPage, "\"; ?>");
    page.line("<html>");
    page.line("<head>");
    page.line("<script language=\"JavaScript\">");
    page.line("function OpenLTPgnViewer(urlstr, width, height)");
    page.line(
        "{ window.open(urlstr,\"PgnEditorWindow\",\"width=\"+width+\",height=\"+height+\","
        "menubar=no,locationbar=no,resizable=yes,status=no,scrollbars=no\");}");
    page.line("</script>");
    writeStylesheetLink(page);
    // A .php file: the title must not open PHP code on the web server.
    page.line("<title>", escapePhpOpening(title), " PGN Entry</title>");
    page.line("</head>");
    page.line("<body><center>");
    page.line("<table width=250>");
    page.line("<tr><td class=\"title\">PGN Entry: Admin only!</td></tr>");
    for (int i = 1; i <= roundCount; ++i) {
        page.line("<tr><td><a href=\"javascript:OpenLTPgnViewer('", layout::kPgnFolder, "/",
                  layout::kGameEntryPage, "?",
                  scriptLinkName(layout::viewerPageName(o.fnamePrefix, i)),
                  "&ParsePgn=1&AllowRecording=true',800,460)\">Round ", i, "</a></td></tr>");
    }
    page.line("</table><br><br><p class=\"fnote\">Created by <a target=\"top\" href=\"",
              kProductHomePage, "\">pairweb version ", kVersion, "</a> on ",
              dateText(o.generationTime), "</p></body></html>");
    page.line("</html>");
    return page.take();
}

std::string bannerPage(const std::string& title, const PageLabels& labels) {
    static constexpr std::string_view kCell =
        "<td class=\"top\" width=150 align=center><a class=\"top\" href=\"";
    Page page;
    page.line("<html>");
    page.line("<head>");
    writeStylesheetLink(page);
    page.line("<title>", title, "</title>");
    page.line("</head>");
    page.line("<body>");
    page.line("<center><table>");
    page.line("<tr><td class=\"toptitle\" colspan=4 align=center>", title, "</td></tr>");
    page.line("<tr height=30>", kCell, "player_list.html\" target=\"main\">", labels.Player_List,
              "</a></td>", kCell, "results.html\" target=\"main\">", labels.Pairings, "</a></td>",
              kCell, "standings.html\" target=\"main\">", labels.Standings, "</a></td>", kCell,
              "crosstable.html\" target=\"main\">", labels.Crosstable, "</a></td>",
              "</tr></table></center></body>");
    page.line("</html>");
    return page.take();
}

}  // namespace pairweb::site
