// Draws the thread tree's nodes of unread pages in bold and the others in
// normal weight. The weight is decided as each row is laid out or drawn, so
// that marking pages read only needs a repaint.
#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace teluri {

class UnreadDelegate : public QStyledItemDelegate {
  public:
    UnreadDelegate(std::function<bool(const QModelIndex&)> isUnread, QObject* parent);

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

  private:
    std::function<bool(const QModelIndex&)> isUnread_;
};

}  // namespace teluri
