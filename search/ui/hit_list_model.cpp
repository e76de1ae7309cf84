#include "search/ui/hit_list_model.h"

#include <utility>

#include "base/ui/bytes_role.h"
#include "base/ui/qtext.h"

namespace teluri {
namespace {

QByteArray Bytes(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

HitListModel::HitListModel(std::array<QIcon, 2> pictures, QObject* parent)
    : QAbstractTableModel(parent), pictures_(std::move(pictures)) {}

void HitListModel::SetRows(HitRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int HitListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.Count());
}

int HitListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant HitListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == 0) {
        switch (role) {
            case Qt::DisplayRole:
                return ShownText(rows_.Title(row));
            case Qt::DecorationRole:
                return pictures_[rows_.Kind(row)];
            case kBytesRole:
                return Bytes(rows_.Title(row));
            default:
                return {};
        }
    }
    const std::optional<std::string_view> number = rows_.Number(row);
    if (!number) {
        return {};  // a row cut short has no number to show or open
    }
    switch (role) {
        case Qt::DisplayRole:
            return FromCp932(*number);
        case kBytesRole:
            return Bytes(*number);
        default:
            return {};
    }
}

QVariant HitListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return section == 0 ? Text("議題") : Text("番号");
}

}  // namespace teluri
