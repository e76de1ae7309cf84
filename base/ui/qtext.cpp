#include "base/ui/qtext.h"

#include <QFile>

#include "base/cp932.h"
#include "base/display_text.h"

namespace teluri {

QString FromCp932(std::string_view bytes) {
    const std::u16string text = Cp932ToUtf16(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString ShownText(std::string_view bytes) {
    const std::string_view shown = ShownPart(bytes);
    QString text = FromCp932(shown);
    if (shown.size() < bytes.size()) {
        text += QChar(0x2026);
    }
    return text;
}

std::string ToCp932(const QString& text) {
    return Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                            static_cast<std::size_t>(text.size())));
}

QString FromLocalPath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ToLocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace teluri
