// The options dialog: the two font sizes of the page display with live
// samples, and the switches for saving search results and for draft open at
// start-up. Created anew for each use of the options command.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QTabWidget;

namespace teluri {

class IHTML;
class TSpinEdit;

class TfrmOption : public QDialog {
  public:
    explicit TfrmOption(QWidget* parent);

    TSpinEdit* spnSize1() const { return spnSize1_; }
    TSpinEdit* spnSize2() const { return spnSize2_; }
    QCheckBox* chkFindSave() const { return chkFindSave_; }
    QCheckBox* chkDraftOpen() const { return chkDraftOpen_; }

  private:
    void spnSize1Change();
    void spnSize2Change();

    QTabWidget* PageControl1_;
    TSpinEdit* spnSize1_;
    TSpinEdit* spnSize2_;
    QLabel* lblEx1_;
    QLabel* lblEx2_;
    QCheckBox* chkFindSave_;
    QCheckBox* chkDraftOpen_;
};

// The options command: fills a new dialog from the settings file and the
// display, and on OK applies the font sizes to the display (the shown page
// laid out anew) and then writes the four values.
void Option1Click(QWidget* parent, IHTML& display);

}  // namespace teluri
