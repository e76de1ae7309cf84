// A tree or list item that keeps a cp932 text's bytes in its first column
// and shows them decoded. The text is decoded when something first asks for
// it (a view asks only for the rows it lays out), not for every item of a
// list of thousands, and only its first part is laid out (ShownText): a
// title of megabytes would hold the view for minutes. A text set on the item
// itself takes the place of the decoded one.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTreeWidgetItem>

#include <string>

namespace teluri {

// The role under which items keep the bytes of their texts.
inline constexpr int kBytesRole = Qt::UserRole;

class ByteTextItem : public QTreeWidgetItem {
  public:
    explicit ByteTextItem(const std::string& bytes);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;

  private:
    QByteArray bytes_;
    mutable QString text_;
    mutable bool decoded_ = false;
    bool textSet_ = false;
};

}  // namespace teluri
