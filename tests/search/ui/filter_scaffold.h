// What the thread filter's window tests share: a filter over a tree of its
// own in a window, with a counting gauge, and the pages in a fixture's data
// folder. A test class derives from QObject first and from this second.
#pragma once

#include <QTest>
#include <QVBoxLayout>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "search/ui/thread_filter.h"
#include "tests/support/pages.h"
#include "tests/ui/counting_gauge.h"
#include "tests/ui/tree_nodes.h"
#include "tests/ui/ui_support.h"
#include "threads/ui/thread_tree_model.h"
#include "threads/ui/thread_tree_view.h"

namespace teluri::test {

class FilterScaffold {
  protected:
    using NodeId = ThreadTree::NodeId;

    // The fixture, and a window with the tree above the filter, not shown.
    void makeFilter() {
        fixture_ = std::make_unique<UiFixture>();
        window_ = std::make_unique<QWidget>();
        auto* column = new QVBoxLayout(window_.get());
        tree_ = new ThreadTreeView({}, window_.get());
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

    // A node of page `number` ("number:title"), under `parent` or at the
    // top, kept for showTree; its page file holds `body` when one is given.
    NodeId addNode(std::optional<NodeId> parent, const std::string& number,
                   const char* body = nullptr) {
        const std::string text = number + ":title";
        if (body != nullptr) {
            WriteFile(fixture_->DataFile(number + ".msg"), body);
        }
        return parent ? nodes_.AppendChild(*parent, text) : nodes_.AppendRoot(text);
    }

    // Fills the tree with the nodes added since it was last filled.
    void showTree() {
        tree_->Model().Fill(std::move(nodes_));
        nodes_ = ThreadTree();
    }

    void clearTree() { tree_->Model().Fill(ThreadTree()); }

    std::unique_ptr<UiFixture> fixture_;
    std::unique_ptr<QWidget> window_;
    ThreadTreeView* tree_ = nullptr;
    ThreadFilter* filter_ = nullptr;
    Archive archive_;
    std::unique_ptr<CountingGauge> gauge_;
    ThreadTree nodes_;
};

}  // namespace teluri::test
