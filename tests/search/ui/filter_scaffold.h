// What the thread filter's window tests share: a filter over a tree of its
// own in a window, with a counting gauge, and the pages in a fixture's data
// folder. A test class derives from QObject first and from this second.
#pragma once

#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>
#include <string>

#include "base/ui/byte_text_item.h"
#include "search/ui/thread_filter.h"
#include "tests/support/pages.h"
#include "tests/ui/counting_gauge.h"
#include "tests/ui/ui_support.h"

namespace teluri::test {

class FilterScaffold {
  protected:
    // The fixture, and a window with the tree above the filter, not shown.
    void makeFilter() {
        fixture_ = std::make_unique<UiFixture>();
        window_ = std::make_unique<QWidget>();
        auto* column = new QVBoxLayout(window_.get());
        tree_ = new QTreeWidget(window_.get());
        column->addWidget(tree_);
        archive_.dataFolder = fixture_->Data();
        gauge_ = std::make_unique<CountingGauge>();
        filter_ = new ThreadFilter(*tree_, archive_, *gauge_, window_.get());
        column->addWidget(filter_);
    }

    // Shows the window; true once it is active.
    bool showWindow() {
        window_->show();
        window_->activateWindow();
        return QTest::qWaitForWindowActive(window_.get());
    }

    void destroyFilter() {
        window_.reset();
        fixture_.reset();
    }

    // A node of page `number` as the tree view holds one (its text and its
    // bytes, "number:title"), under `parent` or at the top; its page file
    // holds `body` when one is given.
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const std::string& number,
                             const char* body = nullptr) {
        const QByteArray text = QByteArray::fromStdString(number) + ":title";
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
        item->setText(0, QString::fromLatin1(text));
        item->setData(0, kBytesRole, text);
        if (body != nullptr) {
            WriteFile(fixture_->DataFile(number + ".msg"), body);
        }
        return item;
    }

    std::unique_ptr<UiFixture> fixture_;
    std::unique_ptr<QWidget> window_;
    QTreeWidget* tree_ = nullptr;
    ThreadFilter* filter_ = nullptr;
    Archive archive_;
    std::unique_ptr<CountingGauge> gauge_;
};

}  // namespace teluri::test
