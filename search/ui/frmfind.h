// The search window "検索": a text to look for, the pages of the main
// window's file list that contain it, the history of search texts and the
// stored result of each search. Created once beside the main window and
// kept: closing only hides it, so the text, the rows and the status stay.
#pragma once

#include <QDialog>
#include <QIcon>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace teluri {

class IHTML;

// What the search window takes from the main window.
struct FindHost {
    // The file list's names and its folder (no closing delimiter needed).
    std::function<std::vector<std::string>()> fileNames;
    std::function<std::string()> fileFolder;
    // The busy gauge: one step per name, and back to rest.
    std::function<void()> stepGauge;
    std::function<void()> resetGauge;
    // The display that shows an opened hit.
    std::function<IHTML&()> html;
    // Told the search text after an opened hit is shown, when set.
    std::function<void(const QString& text)> hitShown;
};

class TfrmFind : public QDialog {
  public:
    explicit TfrmFind(FindHost host, QWidget* parent = nullptr);

    // The status bar's text.
    QString StatusText() const;

    // The geometry the window takes when maximised on a screen of the given
    // geometry: its own width, the screen's full height from its top edge,
    // centred horizontally.
    static QRect MaximizedGeometry(const QRect& screen, int width);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FormCreate();
    void FormActivate();
    void BitBtn1Click();
    void cmbFindChange(const QString& text);
    void lsvFIndDblClick();

    // The history: the cp932 bytes of the drop-down's entries, top first.
    std::vector<std::string> History() const;
    // Replaces the drop-down's entries; the text in the box stays.
    void SetHistory(const std::vector<std::string>& history);
    void SetStatus(const QString& text);
    void FitTitleColumn();
    QRect ScreenGeometry() const;

    FindHost host_;
    std::array<QIcon, 2> ImageList1_;
    QLabel* Label1_ = nullptr;
    QComboBox* cmbFind_ = nullptr;
    QTreeWidget* lsvFInd_ = nullptr;
    QStatusBar* StatusBar1_ = nullptr;
    QLabel* StatusPanel_ = nullptr;
};

}  // namespace teluri
