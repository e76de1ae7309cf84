// The search window's list as a model over HitRows: two columns, the title
// with the hit's picture and the number, rows of one height in file order.
// A text is decoded when the view asks for it, which it does only for the
// rows it shows or measures; a title is shown by its first part
// (ShownText). Each column also gives its cp932 bytes under kBytesRole.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <array>

#include "search/hit_rows.h"

namespace teluri {

class HitListModel : public QAbstractTableModel {
  public:
    // `pictures`: the hit kinds' pictures, by HitKind.
    HitListModel(std::array<QIcon, 2> pictures, QObject* parent);

    // Shows `rows` in place of the rows shown.
    void SetRows(HitRows rows);
    const HitRows& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::array<QIcon, 2> pictures_;
    HitRows rows_;
};

}  // namespace teluri
