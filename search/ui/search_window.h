// The search window "検索": a text to look for, the pages of the archive's
// file list that contain it, the history of search texts and the
// stored result of each search. Created once beside the main window and
// kept: closing only hides it, so the text, the rows and the status stay.
// A selected row shows a preview of the hit (HitPreview); the main window
// can open the next or previous hit of the list without showing the window.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "threads/archive.h"

class QComboBox;
class QLabel;
class QStatusBar;
class QTreeView;

namespace teluri {

class BusyGauge;
class HitListModel;
class HitPreview;
class PageDisplay;

class SearchWindow : public QDialog {
    Q_OBJECT

  public:
    // Searches the archive's file list, steps the gauge once per page and
    // shows an opened hit in the display.
    SearchWindow(const Archive& archive, BusyGauge& gauge, PageDisplay& display,
                 QWidget* parent = nullptr);

    // The status bar's first panel's text.
    QString StatusText() const;

    // Opens the hit `step` rows after the list's current row (from before
    // the first row, or after the last one, when no row is current) as
    // opening it from the list does, with the window left as it is. Past
    // either end of the list nothing moves and hitStepEnded says so.
    void StepHit(int step);

  signals:
    // A hit was opened: its page is on show in the display.
    void hitOpened(const QString& searchText);
    // StepHit opened a hit, just before hitOpened: its node is to be shown.
    void hitStepped();
    // StepHit found no hit to open: `note` says why.
    void hitStepEnded(const QString& note);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A row of the list: the hit's title and, unless the row has none (a
    // log cut short), its page number; cp932 bytes.
    struct ListedHit {
        std::string title;
        std::optional<std::string> number;
    };

    void FitToScreen();
    void ReloadHistory();
    void RunSearch();
    void ShowSavedResultOf(const QString& text);
    void OpenSelectedHit();
    // Shows the page of row `row` in the display and says so.
    void OpenHitOfRow(int row);
    ListedHit HitOfRow(int row) const;
    int RowCount() const;
    void PreviewRow(int row);

    // The history: the cp932 bytes of the drop-down's entries, top first.
    std::vector<std::string> History() const;
    // Replaces the drop-down's entries; the text in the box stays.
    void SetHistory(const std::vector<std::string>& history);
    void SetStatus(const QString& text);
    // The second panel: "N 件".
    void ShowHitCount();
    // The title column as wide as the widest title in view: measuring a row
    // lays out its text, with glyphs met for the first time, which for the
    // thousands of rows of a common word held the window for milliseconds.
    // The header widens it by hand.
    void FitTitleColumn();

    const Archive& archive_;
    BusyGauge& gauge_;
    PageDisplay& display_;
    QLabel* textLabel_ = nullptr;
    QComboBox* searchText_ = nullptr;
    QTreeView* hitList_ = nullptr;
    HitListModel* hits_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QLabel* countPanel_ = nullptr;
    HitPreview* preview_ = nullptr;
    // The text the rows were found with (cp932): the text of the last
    // search run or of the saved result shown.
    std::string listedText_;
};

}  // namespace teluri
