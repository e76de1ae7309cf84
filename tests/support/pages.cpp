#include "tests/support/pages.h"

#include "analysis/page_reader.h"
#include "base/cp932.h"

namespace teluri::test {
namespace {

std::string Target(LinkForm form) {
    if (form == LinkForm::kRelative) {
        return "./view3.cgi?";
    }
    return "http://" + std::string(kBoardHostPath) + "/view3.cgi?";
}

std::string Link(std::string_view leadIn, std::string_view number, LinkForm form) {
    return Sjis(leadIn) + "[<a href=\"" + Target(form) + std::string(number) + "\">" +
           std::string(number) + "</a>]";
}

}  // namespace

std::string Sjis(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

std::string FirstLine(std::string_view number, std::string_view title) {
    return "<html><head><!-- " + std::string(number) + " --></head><body> <b><font>" +
           std::string(title) + "</font><hr noshade></b>";
}

std::string ParentLink(std::string_view number, LinkForm form) {
    return Link("このコメントは", number, form) + Sjis("への返信です。");
}

std::string ReplyLink(std::string_view number, LinkForm form) {
    return Link("この記事には", number, form) + Sjis("の返信があります。");
}

std::string ManyLines() {
    std::string lines;
    for (int i = 0; i < 200; ++i) {
        lines += "line<br>\r\n";
    }
    return lines;
}

std::string Page(std::string_view number, std::string_view title, std::string_view parent,
                 const std::vector<std::string>& replies, LinkForm form) {
    std::string page = FirstLine(number, title) + "\r\n";
    if (!parent.empty()) {
        page += ParentLink(parent, form) + "<br>\r\n";
    }
    page += Sjis("本文です。Delphi と C++Builder の話。") + "<br>\r\n";
    for (const auto& reply : replies) {
        page += ReplyLink(reply, form) + "<br>\r\n";
    }
    page += "</body></html>\r\n";
    return page;
}

}  // namespace teluri::test
