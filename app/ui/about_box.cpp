#include "app/ui/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "base/ui/fonts.h"
#include "base/ui/pictures.h"

namespace teluri {
namespace {

constexpr qreal kLineHeight = 12.5;

// Eighteen lines, the paragraphs separated by blank lines.
constexpr const char* kAboutText =
    "TeluriExplorerは、Orvak開発者フォーラムのTeluri室\n"
    "のデータをツリー状に解析して閲覧するツールです。\n"
    "\n"
    "Teluri室のデータは「Orvak開発者フォーラム」\n"
    "(http://forum.example.org/) で入手できます。\n"
    "\n"
    "対応データは１９９７年１月２４日～１９９７年８月３１日のデ\n"
    "ータです。\n"
    "\n"
    "例野 太郎さん作の変換ツールを使うと、それ以降の\n"
    "Teluri室のデータもTeluriExplorerで閲覧できるように\n"
    "なります。\n"
    "\n"
    "TeluriExplorerの最新版は「Teluriの小部屋」\n"
    "(http://teluri.example.org/) で入手できます。\n"
    "\n"
    "変換ツールは「例野ツール工房」\n"
    "(http://tools.example.org/) で入手できます。";

QLabel* Logo(QWidget* parent, const char* name, const QRect& geometry) {
    auto* logo = new QLabel(parent);
    logo->setObjectName(name);
    logo->setAccessibleName(QString::fromUtf8("Orvak Teluri Explorer のロゴ"));
    logo->setPixmap(LogoPicture(geometry.width(), geometry.height()));
    logo->setGeometry(geometry);
    return logo;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QString::fromUtf8("Orvak TeluriExplorerについて"));
    setFont(WindowFont());
    setFixedSize(438, 296);

    auto* text = new QTextEdit(this);
    text->setObjectName("Memo1");
    text->setAccessibleName(QString::fromUtf8("このプログラムについて"));
    text->setPlainText(QString::fromUtf8(kAboutText));
    text->setReadOnly(true);
    text->setFrameShape(QFrame::NoFrame);
    text->setBackgroundRole(QPalette::Window);
    text->viewport()->setAutoFillBackground(false);
    text->setLineWrapMode(QTextEdit::NoWrap);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->document()->setDocumentMargin(0);
    // Eighteen lines in 225 pixels, as many as the box is high.
    QTextCursor all(text->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat lines;
    lines.setLineHeight(kLineHeight, QTextBlockFormat::FixedHeight);
    all.mergeBlockFormat(lines);
    text->setGeometry(8, 12, 297, 225);

    Logo(this, "Image1", QRect(312, 40, 122, 34));
    Logo(this, "Image2", QRect(324, 96, 95, 34));

    auto* line = new QFrame(this);
    line->setObjectName("Bevel1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, 244, 438, 2);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Button1");
    ok->setGeometry(181, 260, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace teluri
