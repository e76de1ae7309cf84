#include "app/ui/key_table.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/ui/dialogs.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"

namespace teluri {
namespace {

// The keys no menu holds: where they work, what they do, the keys.
struct OtherKey {
    const char* place;
    const char* what;
    const char* keys;
};

constexpr OtherKey kOtherKeys[] = {
    {"ツリー", "前後の書き込みへ", "↑ / ↓, PageUp / PageDown, Home / End"},
    {"ツリー", "枝を開く / 閉じる", "→ / ←"},
    {"ツリー", "下の枝をすべて開く", "*"},
    {"ツリー", "番号の書き込みへ", "数字を続けて入力"},
    {"ツリー・内容", "内容をスクロール、最後まで読んだら次の未読へ", "Space"},
    {"ツリー・内容", "内容を前へスクロール", "Shift+Space"},
    {"内容", "リンクを選ぶ / 開く", "Tab / Enter"},
    {"内容", "拡大 / 縮小", "Ctrl+ホイール"},
    {"ツリー・内容", "戻る / 進む", "マウスの戻る / 進むボタン"},
    {"ウィンドウ", "議題（ツリー）へ", "Alt+S"},
    {"ウィンドウ", "内容へ", "Alt+H"},
    {"ウィンドウ", "メニューバーへ", "F10"},
};

// A menu's caption without its access key mark.
QString Caption(const QString& text) {
    QString caption = text;
    caption.remove(QRegularExpression("\\(&.\\)"));
    return caption.remove('&');
}

void AddRow(QTableWidget& table, const QString& place, const QString& what, const QString& keys) {
    const int row = table.rowCount();
    table.insertRow(row);
    table.setItem(row, 0, new QTableWidgetItem(place));
    table.setItem(row, 1, new QTableWidgetItem(what));
    table.setItem(row, 2, new QTableWidgetItem(keys));
}

}  // namespace

KeyTable::KeyTable(QMainWindow& window, QMenu& helpMenu) : QObject(&window), window_(window) {
    helpMenu.addSeparator()->setObjectName("N9");
    QAction* action = helpMenu.addAction(Text("キーボード操作(&K)"));
    action->setObjectName("Keys1");
    connect(action, &QAction::triggered, this,
            [this] { Guarded(&window_, [this] { ShowKeys(); }); });
}

void KeyTable::FillTable(QTableWidget& table) const {
    for (const QAction* menuAction : window_.menuBar()->actions()) {
        const QMenu* menu = menuAction->menu();
        if (menu == nullptr) {
            continue;
        }
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible() || action->shortcuts().isEmpty()) {
                continue;
            }
            QStringList keys;
            for (const QKeySequence& key : action->shortcuts()) {
                keys.append(key.toString(QKeySequence::NativeText));
            }
            AddRow(table, Caption(menuAction->text()), Caption(action->text()), keys.join(", "));
        }
    }
    for (const OtherKey& key : kOtherKeys) {
        AddRow(table, Text(key.place), Text(key.what), Text(key.keys));
    }
}

void KeyTable::ShowKeys() {
    QDialog dialog(&window_);
    dialog.setObjectName("dlgKeys");
    dialog.setWindowTitle(Text("キーボード操作"));
    auto* table = new QTableWidget(0, 3, &dialog);
    table->setObjectName("tblKeys");
    table->setHorizontalHeaderLabels({Text("メニュー・場所"), Text("操作"), Text("キー")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    FillTable(*table);
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(table);
    column->addWidget(buttons);
    dialog.resize(560, 520);
    Dialogs().execDialog(dialog);
}

}  // namespace teluri
