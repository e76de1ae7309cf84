#include "app/ui/version_box.h"

#include <QLabel>
#include <QMouseEvent>

#include "base/ui/center_on_screen.h"
#include "base/ui/fonts.h"
#include "base/ui/pictures.h"

namespace teluri {
namespace {

constexpr int kLogoWidth = 341;
constexpr int kLogoHeight = 218;

// The logo picture; a click on it closes its window.
class LogoImage : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        window()->close();
    }
};

}  // namespace

VersionBox::VersionBox(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName("frmLogo");
    setFont(WindowFont());
    auto* image = new LogoImage(this);
    image->setObjectName("Image1");
    image->setAccessibleName(QString::fromUtf8("Orvak Teluri Explorer のロゴ"));
    image->setPixmap(LogoPicture(kLogoWidth, kLogoHeight));
    image->setGeometry(0, 0, kLogoWidth, kLogoHeight);
    auto* version = new QLabel("Version 1.6", this);
    version->setObjectName("Label1");
    version->setAttribute(Qt::WA_TransparentForMouseEvents);
    version->setStyleSheet("color: white; background: transparent;");
    version->move(40, 192);
    // The window is exactly the picture.
    setFixedSize(image->size());
    CenterOnScreen(*this);
}

}  // namespace teluri
