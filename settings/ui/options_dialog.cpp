#include "settings/ui/options_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

#include <algorithm>

#include "base/errors.h"
#include "base/messages.h"
#include "base/strtoint.h"
#include "base/ui/center_on_screen.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_display.h"
#include "settings/settings_file.h"
#include "settings/ui/spin_field.h"

namespace teluri {
namespace {

QLabel* Label(QWidget* parent, const char* name, const char* text, QPoint at) {
    auto* label = new QLabel(Text(text), parent);
    label->setObjectName(name);
    label->move(at);
    label->adjustSize();
    return label;
}

// A white scrolling box holding a sample label at its top left.
QLabel* SampleBox(QWidget* parent, const char* boxName, const char* labelName, const char* text,
                  QPoint at) {
    auto* box = new QScrollArea(parent);
    box->setObjectName(boxName);
    box->setGeometry(at.x(), at.y(), 105, 45);
    box->setBackgroundRole(QPalette::Base);
    box->setStyleSheet("QScrollArea { background: white; } QLabel { background: white; }");
    auto* sample = new QLabel(text);
    sample->setObjectName(labelName);
    box->setWidget(sample);
    box->setWidgetResizable(false);
    return sample;
}

// A spin field, named for screen readers after the label above it.
SpinField* Spin(QWidget* parent, const char* name, const char* readerName, QPoint at) {
    auto* spin = new SpinField(parent);
    spin->setObjectName(name);
    spin->Edit()->setAccessibleName(Text(readerName));
    spin->setGeometry(at.x(), at.y(), 61, 21);
    return spin;
}

// The sample shows the size as set; sizes of 0 or below are drawn at 1
// point.
void ShowSampleSize(QLabel* sample, int points) {
    QFont font = sample->font();
    font.setPointSize(std::max(points, 1));
    sample->setFont(font);
    sample->adjustSize();
}

// The spin field's text as an integer; "'%s' は整数ではありません" when
// it is none.
int SpinNumber(const SpinField& spin) {
    const std::string text = spin.Text().toStdString();
    if (const auto value = TryStrToInt(text)) {
        return *value;
    }
    throw ConvertError(msg::Format(msg::kNotAnInteger, text));
}

}  // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOption");
    setWindowTitle(Text("環境設定"));
    setFont(WindowFont());
    setFixedSize(376, 235);
    CenterOnScreen(*this);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("PageControl1");
    tabs_->setGeometry(8, 8, 360, 180);

    auto* fonts = new QWidget();
    fonts->setObjectName("TabSheet1");
    Label(fonts, "Label1", "可変ピッチフォントサイズ：", QPoint(12, 16));
    proportionalSize_ = Spin(fonts, "spnSize1", "可変ピッチフォントサイズ", QPoint(12, 34));
    Label(fonts, "Label3", "サンプル", QPoint(12, 64));
    proportionalSample_ = SampleBox(fonts, "ScrollBox1", "lblEx1", "Delphi", QPoint(12, 80));
    Label(fonts, "Label2", "固定ピッチフォントサイズ：", QPoint(180, 16));
    fixedSize_ = Spin(fonts, "spnSize2", "固定ピッチフォントサイズ", QPoint(180, 34));
    Label(fonts, "Label4", "サンプル", QPoint(180, 64));
    fixedSample_ = SampleBox(fonts, "ScrollBox2", "lblEx2", "C++Builder", QPoint(180, 80));
    tabs_->addTab(fonts, Text("フォント"));

    auto* other = new QWidget();
    other->setObjectName("TabSheet2");
    saveResults_ = new QCheckBox(Text("検索結果の一覧を保存する"), other);
    saveResults_->setObjectName("chkFindSave");
    saveResults_->move(16, 20);
    draftOpenAtStart_ = new QCheckBox(Text("起動時にドラフトオープンをする"), other);
    draftOpenAtStart_->setObjectName("chkDraftOpen");
    draftOpenAtStart_->move(16, 48);
    tabs_->addTab(other, Text("その他"));
    tabs_->setCurrentIndex(0);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("BitBtn1");
    ok->setGeometry(206, 200, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(Text("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName("BitBtn2");
    cancel->setGeometry(292, 200, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(proportionalSize_, &SpinField::changed, this,
            [this] { Guarded(this, [this] { ShowProportionalSample(); }); });
    connect(fixedSize_, &SpinField::changed, this,
            [this] { Guarded(this, [this] { ShowFixedSample(); }); });
}

void OptionsDialog::ShowProportionalSample() {
    ShowSampleSize(proportionalSample_, proportionalSize_->Value());
}

void OptionsDialog::ShowFixedSample() {
    ShowSampleSize(fixedSample_, fixedSize_->Value());
}

void EditOptions(QWidget* parent, PageDisplay& display) {
    SettingsFile ini(SettingsFilePath());
    OptionsDialog dialog(parent);
    dialog.proportionalSize()->SetText(
        QString::number(ini.ReadNumber("Font", "Size", display.FontSize())));
    dialog.fixedSize()->SetText(
        QString::number(ini.ReadNumber("Font", "FixSize", display.FixedFontSize())));
    dialog.saveResults()->setChecked(ini.ReadFlag("FindList", "Save", true));
    dialog.draftOpenAtStart()->setChecked(ini.ReadFlag("Startup", "DraftOpen", false));
    if (Dialogs().execDialog(dialog) != QDialog::Accepted) {
        return;
    }
    display.SetFontSize(SpinNumber(*dialog.proportionalSize()));
    display.SetFixedFontSize(SpinNumber(*dialog.fixedSize()));
    display.LoadUrl(display.DocumentUrl());
    ini.WriteNumber("Font", "Size", SpinNumber(*dialog.proportionalSize()));
    ini.WriteNumber("Font", "FixSize", SpinNumber(*dialog.fixedSize()));
    ini.WriteFlag("FindList", "Save", dialog.saveResults()->isChecked());
    ini.WriteFlag("Startup", "Draftopen", dialog.draftOpenAtStart()->isChecked());
}

}  // namespace teluri
