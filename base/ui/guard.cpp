#include "base/ui/guard.h"

#include "base/errors.h"
#include "base/ui/dialogs.h"
#include "base/ui/qtext.h"

namespace teluri {

QString ErrorText(const std::exception& error) {
    QString text = QString::fromUtf8(error.what());
    if (const auto* teluriError = dynamic_cast<const TeluriError*>(&error)) {
        if (!teluriError->File().empty()) {
            text += "\n" + FromLocalPath(teluriError->File());
        }
    }
    return text;
}

bool Guarded(QWidget* parent, const std::function<void()>& body) noexcept {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        try {
            ShowStandardError(parent, ErrorText(error));
        } catch (...) {
            // Nothing more can be shown; the window stays usable.
        }
    } catch (...) {
        try {
            ShowStandardError(parent, QString::fromUtf8("予期しないエラーが発生しました"));
        } catch (...) {
        }
    }
    return false;
}

}  // namespace teluri
