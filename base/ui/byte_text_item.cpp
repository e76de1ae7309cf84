#include "base/ui/byte_text_item.h"

#include <string_view>

#include "base/ui/qtext.h"

namespace teluri {

ByteTextItem::ByteTextItem(const std::string& bytes)
    : bytes_(bytes.data(), static_cast<qsizetype>(bytes.size())) {}

QVariant ByteTextItem::data(int column, int role) const {
    if (column == 0 && role == kBytesRole) {
        return bytes_;
    }
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole) && !textSet_) {
        if (!decoded_) {
            text_ = ShownText(
                std::string_view(bytes_.constData(), static_cast<std::size_t>(bytes_.size())));
            decoded_ = true;
        }
        return text_;
    }
    return QTreeWidgetItem::data(column, role);
}

void ByteTextItem::setData(int column, int role, const QVariant& value) {
    if (column == 0 && role == kBytesRole) {
        bytes_ = value.toByteArray();
        decoded_ = false;
    } else if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        textSet_ = true;
    }
    QTreeWidgetItem::setData(column, role, value);
}

}  // namespace teluri
