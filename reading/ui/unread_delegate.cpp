#include "reading/ui/unread_delegate.h"

namespace teluri {

UnreadDelegate::UnreadDelegate(std::function<bool(const QModelIndex&)> isUnread, QObject* parent)
    : QStyledItemDelegate(parent), isUnread_(std::move(isUnread)) {}

void UnreadDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->font.setBold(isUnread_(index));
}

}  // namespace teluri
