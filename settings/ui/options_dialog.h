// The options dialog: the two font sizes of the page display with live
// samples, and the switches for saving search results and for draft open at
// start-up. Created anew for each use of the options command.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QTabWidget;

namespace teluri {

class PageDisplay;
class SpinField;

class OptionsDialog : public QDialog {
  public:
    explicit OptionsDialog(QWidget* parent);

    SpinField* proportionalSize() const { return proportionalSize_; }
    SpinField* fixedSize() const { return fixedSize_; }
    QCheckBox* saveResults() const { return saveResults_; }
    QCheckBox* draftOpenAtStart() const { return draftOpenAtStart_; }

  private:
    void ShowProportionalSample();
    void ShowFixedSample();

    QTabWidget* tabs_;
    SpinField* proportionalSize_;
    SpinField* fixedSize_;
    QLabel* proportionalSample_;
    QLabel* fixedSample_;
    QCheckBox* saveResults_;
    QCheckBox* draftOpenAtStart_;
};

// The options command: fills a new dialog from the settings file and the
// display, and on OK applies the font sizes to the display (the shown page
// laid out anew) and then writes the four values.
void EditOptions(QWidget* parent, PageDisplay& display);

}  // namespace teluri
