// The search window "検索": a text to look for, the pages of the archive's
// file list that contain it, the history of search texts and the
// stored result of each search. Created once beside the main window and
// kept: closing only hides it, so the text, the rows and the status stay.
#pragma once

#include <QDialog>

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
class PageDisplay;

class SearchWindow : public QDialog {
    Q_OBJECT

  public:
    // Searches the archive's file list, steps the gauge once per page and
    // shows an opened hit in the display.
    SearchWindow(const Archive& archive, BusyGauge& gauge, PageDisplay& display,
                 QWidget* parent = nullptr);

    // The status bar's text.
    QString StatusText() const;

    // The geometry the window takes when maximised on a screen of the given
    // geometry: its own width, the screen's full height from its top edge,
    // centred horizontally.
    static QRect MaximizedGeometry(const QRect& screen, int width);

  signals:
    // A hit was opened: its page is on show in the display.
    void hitOpened(const QString& searchText);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FitToScreen();
    void ReloadHistory();
    void RunSearch();
    void ShowSavedResultOf(const QString& text);
    void OpenSelectedHit();

    // The history: the cp932 bytes of the drop-down's entries, top first.
    std::vector<std::string> History() const;
    // Replaces the drop-down's entries; the text in the box stays.
    void SetHistory(const std::vector<std::string>& history);
    void SetStatus(const QString& text);
    void FitTitleColumn();
    QRect ScreenGeometry() const;

    const Archive& archive_;
    BusyGauge& gauge_;
    PageDisplay& display_;
    QLabel* textLabel_ = nullptr;
    QComboBox* searchText_ = nullptr;
    QTreeView* hitList_ = nullptr;
    HitListModel* hits_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusPanel_ = nullptr;
};

}  // namespace teluri
