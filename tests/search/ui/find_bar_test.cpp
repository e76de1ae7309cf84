// The find bar on a page display of its own, under the offscreen platform.
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/paths.h"
#include "htmlview/ui/page_view.h"
#include "search/ui/find_bar.h"
#include "tests/support/pages.h"
#include "tests/ui/ui_support.h"

namespace teluri {

using test::Sjis;
using test::WriteFile;

class FindBarTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;
    std::unique_ptr<QWidget> window_;
    PageView* page_ = nullptr;
    FindBar* bar_ = nullptr;

    QLineEdit& field() { return *bar_->findChild<QLineEdit*>("edtFindText"); }
    QString selection() { return page_->SelectionText(-1, 0); }
    int marks() { return static_cast<int>(page_->extraSelections().size()); }

    void show(const char* name, const std::string& html) {
        WriteFile(fixture_->DataFile(name), html);
        page_->LoadUrl(QString::fromStdString(PageUrl(fixture_->DataFile(name))));
        // The bar finds its text from a call the load posted.
        QVERIFY(test::WaitForPostedCalls());
    }

    // Japanese text cannot be typed with key clicks: it is put in.
    void type(const QString& text) { field().setText(text); }

  private slots:
    void init() {
        fixture_ = std::make_unique<test::UiFixture>();
        window_ = std::make_unique<QWidget>();
        auto* column = new QVBoxLayout(window_.get());
        page_ = new PageView(window_.get());
        column->addWidget(page_);
        bar_ = new FindBar(*page_, window_.get());
        column->addWidget(bar_);
        window_->resize(600, 400);
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        show("1001.msg",
             Sjis("<p>Delphi と delphi と DELPHI</p><p>フォームの話 <b>Del</b>phi</p>"));
    }

    void cleanup() {
        window_.reset();
        fixture_.reset();
    }

    void typingMarksEveryOccurrenceAndSelectsTheFirst() {
        QVERIFY(!bar_->isVisible());
        bar_->Open();
        QVERIFY(bar_->isVisible());
        QVERIFY(field().hasFocus());
        // The buttons' pictures come with the bar's first showing.
        for (const char* button : {"btnFindPrev", "btnFindNext", "btnFindClose"}) {
            QVERIFY2(!bar_->findChild<QToolButton*>(button)->icon().isNull(), button);
        }
        type("delphi");
        // Every letter case, and across the markup of the shown text.
        QCOMPARE(bar_->CountText(), QString("1 / 4"));
        QCOMPARE(marks(), 4);
        QCOMPARE(selection(), QString("Delphi"));
        QCOMPARE(field().styleSheet(), QString());
        type(QString::fromUtf8("フォーム"));
        QCOMPARE(bar_->CountText(), QString("1 / 1"));
        QCOMPARE(selection(), QString::fromUtf8("フォーム"));
    }

    void enterAndShiftEnterStepAndWrap() {
        bar_->Open();
        type("DELPHI");
        QTest::keyClick(&field(), Qt::Key_Return);
        QCOMPARE(bar_->CountText(), QString("2 / 4"));
        QCOMPARE(selection(), QString("delphi"));
        QTest::keyClick(&field(), Qt::Key_Return);
        QTest::keyClick(&field(), Qt::Key_Return);
        QCOMPARE(bar_->CountText(), QString("4 / 4"));
        QTest::keyClick(&field(), Qt::Key_Enter);
        QCOMPARE(bar_->CountText(), QString("1 / 4"));
        QTest::keyClick(&field(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(bar_->CountText(), QString("4 / 4"));
        QCOMPARE(selection(), QString("Delphi"));  // the one split by <b>
        bar_->findChild<QToolButton*>("btnFindPrev")->click();
        QCOMPARE(bar_->CountText(), QString("3 / 4"));
        QCOMPARE(selection(), QString("DELPHI"));
        bar_->findChild<QToolButton*>("btnFindNext")->click();
        QCOMPARE(bar_->CountText(), QString("4 / 4"));
    }

    void noOccurrenceTintsTheFieldAndCountsNone() {
        bar_->Open();
        type("Kylix");
        QCOMPARE(bar_->CountText(), QString::fromUtf8("0 件"));
        QVERIFY(field().styleSheet().contains("background"));
        QCOMPARE(marks(), 0);
        QTest::keyClick(&field(), Qt::Key_Return);  // nothing to go to
        QCOMPARE(bar_->CountText(), QString::fromUtf8("0 件"));
        // A character without a cp932 form occurs nowhere.
        type(QString::fromUtf8("😀"));
        QCOMPARE(bar_->CountText(), QString::fromUtf8("0 件"));
        type("");
        QCOMPARE(bar_->CountText(), QString());
        QCOMPARE(field().styleSheet(), QString());
    }

    void escapeClosesAndRemovesTheMarks() {
        bar_->Open();
        type("delphi");
        QCOMPARE(marks(), 4);
        QTest::keyClick(&field(), Qt::Key_Escape);
        QVERIFY(!bar_->isVisible());
        QCOMPARE(marks(), 0);
        QVERIFY(page_->hasFocus());
        QCOMPARE(bar_->Text(), QString("delphi"));  // kept for the next time
        // Opened for a search hit, the focus is on the page: Esc there too.
        QVERIFY(bar_->OpenWith("delphi"));
        QCOMPARE(marks(), 4);
        QTest::keyClick(page_, Qt::Key_Escape);
        QVERIFY(!bar_->isVisible());
        QCOMPARE(marks(), 0);
        QVERIFY(page_->hasFocus());
    }

    void anotherPageIsMarkedAgainWithTheSameText() {
        bar_->Open();
        type("delphi");
        show("1002.msg", "<p>one Delphi here, another DELPHI there</p>");
        QCOMPARE(bar_->Text(), QString("delphi"));
        QCOMPARE(bar_->CountText(), QString("1 / 2"));
        QCOMPARE(marks(), 2);
        QCOMPARE(selection(), QString("Delphi"));
    }

    void aClosedBarStillStepsThroughTheOccurrences() {
        bar_->Open();
        type("delphi");
        bar_->Close();
        show("1002.msg", "<p>one Delphi here, another DELPHI there</p>");
        QCOMPARE(marks(), 0);  // a page shown with the bar closed is not marked
        bar_->Next();
        QCOMPARE(selection(), QString("Delphi"));
        bar_->Next();
        QCOMPARE(selection(), QString("DELPHI"));
        bar_->Next();
        QCOMPARE(selection(), QString("Delphi"));
        bar_->Previous();
        QCOMPARE(selection(), QString("DELPHI"));
        QCOMPARE(marks(), 0);
        QVERIFY(!bar_->isVisible());
    }

    void aSearchHitOpensTheBarOnlyWhenTheShownTextHoldsIt() {
        page_->setFocus();
        show("1003.msg", "<p class=\"zyx\">visible words, then zyx</p>");
        QVERIFY(bar_->OpenWith("ZYX"));
        QVERIFY(bar_->isVisible());
        QVERIFY(page_->hasFocus());  // the focus stays on the page
        QCOMPARE(bar_->Text(), QString("ZYX"));
        QCOMPARE(bar_->CountText(), QString("1 / 1"));
        QCOMPARE(selection(), QString("zyx"));
        bar_->Close();
        show("1004.msg", "<p class=\"markup\">nothing to see</p>");
        QVERIFY(!bar_->OpenWith("markup"));  // only in the markup
        QVERIFY(!bar_->isVisible());
        QCOMPARE(bar_->Text(), QString("ZYX"));
        QCOMPARE(marks(), 0);
    }

    void aMatchFromATrailByteMarksTheWholeCharacter() {
        // "ア" is 0x83 0x41: a typed "a" finds its trail byte by the search's
        // rule, and the mark covers the character.
        show("1005.msg", Sjis("<p>xアy</p>"));
        bar_->Open();
        type("a");
        QCOMPARE(bar_->CountText(), QString("1 / 1"));
        QCOMPARE(selection(), QString::fromUtf8("ア"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FindBarTest)
#include "find_bar_test.moc"
