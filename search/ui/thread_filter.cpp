#include "search/ui/thread_filter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

#include "activity/ui/busy_gauge.h"
#include "base/errors.h"
#include "base/paths.h"
#include "base/ui/busy_cursor.h"
#include "base/ui/display_frame.h"
#include "base/ui/frozen_tree.h"
#include "base/ui/guard.h"
#include "search/page_texts.h"
#include "search/ui/document_text.h"
#include "threads/ui/thread_tree_model.h"
#include "threads/ui/thread_tree_view.h"
#include "threads/ui/tree_walk.h"

namespace teluri {
namespace {

const char* const kPlaceholder = "絞り込み";
constexpr int kCountWidth = 56;

// The gauge steps once per this many pages read: a step draws the gauge,
// which would cost as much as reading the pages.
constexpr int kPagesPerStep = 16;

constexpr std::chrono::milliseconds kDisplayFrame(kDisplayFrameMilliseconds);

// How many texts typed last keep their answers.
constexpr std::size_t kRecentTexts = 32;

}  // namespace

ThreadFilter::ThreadFilter(ThreadTreeView& tree, const Archive& archive, BusyGauge& gauge,
                           QWidget* parent)
    : QLineEdit(parent), tree_(tree), model_(tree.Model()), archive_(archive), gauge_(gauge) {
    setObjectName("edtFilter");
    setAccessibleName(QString::fromUtf8("スレッドの絞り込み"));
    setAccessibleDescription(
        QString::fromUtf8("入力した文字列を含むページのあるスレッドだけをツリーに表示します"));
    setPlaceholderText(QString::fromUtf8(kPlaceholder));
    setClearButtonEnabled(false);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName("lblFilterCount");
    countLabel_->setAccessibleName(QString::fromUtf8("絞り込まれたスレッドの数"));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countLabel_->setForegroundRole(QPalette::PlaceholderText);
    setTextMargins(0, 0, kCountWidth, 0);
    tree_.installEventFilter(this);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { Guarded(this, [this, &text] { ApplyText(text); }); });
    // A tree filled anew may come from other pages: the filter starts over.
    connect(&model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        Forget();
        texts_.reset();
        recent_.clear();
        const QSignalBlocker blocker(this);
        clear();
    });
    connect(&model_, &QAbstractItemModel::layoutChanged, this, [this] {
        if (active_) {
            FollowTreeOrder();
        }
    });
}

ThreadFilter::~ThreadFilter() = default;

QString ThreadFilter::CountText() const {
    return countLabel_->text();
}

std::size_t ThreadFilter::HeldBytes() const {
    return texts_ ? texts_->HeldBytes() : 0;
}

void ThreadFilter::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    countLabel_->setGeometry(width() - kCountWidth - 6, 0, kCountWidth, height());
}

bool ThreadFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &tree_ && active_ && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
            clear();
            return true;
        }
        return StartAtFirstShownNode(key);
    }
    return QLineEdit::eventFilter(watched, event);
}

bool ThreadFilter::StartAtFirstShownNode(const QKeyEvent& key) {
    if ((key.key() != Qt::Key_Down && key.key() != Qt::Key_Up) ||
        (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    QModelIndex thread = tree_.currentIndex();
    if (!thread.isValid()) {
        return false;
    }
    while (thread.parent().isValid()) {
        thread = thread.parent();
    }
    if (!tree_.isRowHidden(thread.row(), {})) {
        return false;
    }
    for (int row = 0; row < model_.rowCount(); ++row) {
        if (!tree_.isRowHidden(row, {})) {
            const QModelIndex first = model_.index(row, 0);
            tree_.setCurrentIndex(first);
            tree_.scrollTo(first);
            return true;
        }
    }
    return false;
}

void ThreadFilter::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        clear();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const int step = event->modifiers() & Qt::ShiftModifier ? -1 : 1;
        Guarded(this, [this, step] { StepToMatch(step); });
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ThreadFilter::ApplyText(const QString& text) {
    if (text.isEmpty()) {
        End();
        return;
    }
    if (!active_) {
        Begin();
    }
    Apply(NeedleOf(text));
    ScrollToFirstMatch();
    if (const auto error = texts_->TakeReadError()) {
        throw IoError(*error);
    }
}

void ThreadFilter::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    Guarded(this, [this] {
        if (!active_ && UseTextsOfDataFolder()) {
            texts_->ReadPagesAhead(NumbersOf(NodesInTreeOrder()));
        }
    });
}

bool ThreadFilter::UseTextsOfDataFolder() {
    const std::string folder = archive_.dataFolder;
    if (texts_ && texts_->Folder() == folder) {
        return false;
    }
    texts_ = std::make_unique<PageTexts>(folder);
    recent_.clear();
    return true;
}

std::vector<std::string> ThreadFilter::NumbersOf(const std::vector<Node>& nodes) const {
    std::vector<std::string> numbers;
    numbers.reserve(nodes.size());
    for (const Node& node : nodes) {
        numbers.push_back(PageNumberOf(model_.Tree().Text(node.id)));
    }
    return numbers;
}

void ThreadFilter::Begin() {
    UseTextsOfDataFolder();
    nodes_ = NodesInTreeOrder();
    const std::vector<std::string> numbers = NumbersOf(nodes_);
    BusyCursor busy;
    int read = 0;
    // The pages the field began reading when it took the focus.
    while (!texts_->WaitForReadingAhead(kDisplayFrame)) {
        gauge_.Step();
        ++read;
    }
    texts_->ReadPages(numbers, [this, &read] {
        if (read++ % kPagesPerStep == 0) {
            gauge_.Step();
        }
    });
    if (read > 0) {
        gauge_.Reset();
    }
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        nodes_[i].slot = texts_->Slot(numbers[i]);
    }
    const std::size_t count = nodes_.size();
    wasExpanded_.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        wasExpanded_[i] = tree_.isExpanded(model_.IndexOf(nodes_[i].id)) ? 1 : 0;
    }
    expanded_ = wasExpanded_;
    marked_.assign(count, 0);
    hidden_.assign(count, 0);
    needle_.clear();
    matching_.clear();
    currentAtBegin_ = tree_.currentIndex();
    active_ = true;
}

void ThreadFilter::Apply(const std::string& needle) {
    const auto known = std::find_if(recent_.begin(), recent_.end(),
                                    [&needle](const auto& entry) { return entry.first == needle; });
    if (known != recent_.end()) {
        matching_ = known->second;  // deleting letters goes back to known texts
    } else {
        // A text that holds the last one can only match where the last one did.
        const bool narrows = !needle_.empty() && needle.find(needle_) != std::string::npos;
        matching_ = texts_->Matching(needle, narrows ? &matching_ : nullptr);
        if (recent_.size() == kRecentTexts) {
            recent_.erase(recent_.begin());
        }
        recent_.emplace_back(needle, matching_);
    }
    needle_ = needle;

    const std::size_t count = nodes_.size();
    std::vector<char> marked(count, 0);
    std::vector<char> opened(count, 0);  // ancestors of a match
    std::vector<char> rootShown(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (!matching_[nodes_[i].slot]) {
            continue;
        }
        marked[i] = 1;
        rootShown[nodes_[i].root] = 1;
        // An ancestor opened for another match has its own ancestors opened.
        for (int at = nodes_[i].parent; at >= 0 && !opened[static_cast<std::size_t>(at)];
             at = nodes_[static_cast<std::size_t>(at)].parent) {
            opened[static_cast<std::size_t>(at)] = 1;
        }
    }
    std::vector<char> expanded(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        expanded[i] = wasExpanded_[i] || opened[i] ? 1 : 0;
    }

    FrozenTree frozen(tree_);
    int pages = 0;
    for (const char match : matching_) {
        pages += match;
    }
    std::vector<char> keptFolded(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const QModelIndex node = model_.IndexOf(nodes_[i].id);
        const int parent = nodes_[i].parent;
        if (parent >= 0 && keptFolded[static_cast<std::size_t>(parent)] != 0) {
            keptFolded[i] = 1;  // below a branch the window keeps folded
            expanded[i] = 0;
        }
        if (nodes_[i].parent < 0 && hidden_[i] != !rootShown[i]) {
            hidden_[i] = !rootShown[i];
            tree_.setRowHidden(node.row(), {}, hidden_[i] != 0);
        }
        if (marked_[i] != marked[i]) {
            model_.SetMarked(nodes_[i].id, marked[i] != 0);
        }
        if (expanded_[i] != expanded[i]) {
            tree_.setExpanded(node, expanded[i] != 0);
        }
        if (expanded[i] != 0 && !tree_.isExpanded(node)) {
            // Taken back: a branch too deep for the view. Opening the levels
            // below it would only have each taken back in turn; it stays
            // recorded as asked for, so that the next letter asks no more.
            keptFolded[i] = 1;
        }
    }
    marked_ = std::move(marked);
    expanded_ = std::move(expanded);
    countLabel_->setText(QString::fromUtf8("%1 件").arg(pages));
}

void ThreadFilter::End() {
    if (active_) {
        FrozenTree frozen(tree_);
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            const QModelIndex node = model_.IndexOf(nodes_[i].id);
            if (hidden_[i]) {
                tree_.setRowHidden(node.row(), {}, false);
            }
            if (marked_[i]) {
                model_.SetMarked(nodes_[i].id, false);
            }
            if (expanded_[i] != wasExpanded_[i]) {
                tree_.setExpanded(node, wasExpanded_[i] != 0);
            }
        }
        // A node the user went to while filtering stays in view.
        // Opened root first; a level the window takes back (too deep for
        // the view) ends it, as the levels below would each be taken back.
        if (const QModelIndex current = tree_.currentIndex(); current != currentAtBegin_) {
            std::vector<QModelIndex> above;
            for (QModelIndex at = current.parent(); at.isValid(); at = at.parent()) {
                above.push_back(at);
            }
            for (auto at = above.rbegin(); at != above.rend(); ++at) {
                tree_.setExpanded(*at, true);
                if (!tree_.isExpanded(*at)) {
                    break;
                }
            }
        }
    }
    Forget();
    // The texts stay for the next use.
}

void ThreadFilter::Forget() {
    active_ = false;
    currentAtBegin_ = QPersistentModelIndex();
    nodes_.clear();
    wasExpanded_.clear();
    expanded_.clear();
    marked_.clear();
    hidden_.clear();
    needle_.clear();
    matching_.clear();
    countLabel_->clear();
}

std::vector<ThreadFilter::Node> ThreadFilter::NodesInTreeOrder() const {
    std::vector<Node> nodes;
    // The place in `nodes` of the last node seen at each depth.
    std::vector<int> above;
    for (const auto& [id, depth] : model_.ShownOrder()) {
        above.resize(depth);
        const int parent = depth == 0 ? -1 : above.back();
        const std::size_t root =
            parent < 0 ? nodes.size() : nodes[static_cast<std::size_t>(parent)].root;
        above.push_back(static_cast<int>(nodes.size()));
        nodes.push_back({id, parent, root, 0});
    }
    return nodes;
}

void ThreadFilter::FollowTreeOrder() {
    // Node ids stay with their nodes; each node's place before, by id.
    std::vector<std::size_t> before(model_.Tree().Count(), 0);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        before[nodes_[i].id] = i;
    }
    std::vector<Node> nodes = NodesInTreeOrder();
    const auto reorder = [&nodes, &before](std::vector<char>& states) {
        std::vector<char> reordered(nodes.size(), 0);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            reordered[i] = states[before[nodes[i].id]];
        }
        states = std::move(reordered);
    };
    for (Node& node : nodes) {
        node.slot = nodes_[before[node.id]].slot;
    }
    reorder(wasExpanded_);
    reorder(expanded_);
    reorder(marked_);
    reorder(hidden_);
    nodes_ = std::move(nodes);
}

void ThreadFilter::ScrollToFirstMatch() {
    const auto first = std::find(marked_.begin(), marked_.end(), 1);
    if (first == marked_.end()) {
        return;
    }
    // A node below a level the window keeps folded (too deep for the view)
    // is not scrolled to: that would open, and have taken back, each level
    // above it. Its nearest unfolded ancestor is, instead.
    const Node& node = nodes_[static_cast<std::size_t>(first - marked_.begin())];
    QModelIndex shown = model_.IndexOf(node.id);
    while (!IsUnfolded(tree_, shown)) {
        shown = shown.parent();
    }
    // Its thread from the top, as far as the match stays in view.
    tree_.scrollTo(model_.IndexOf(nodes_[node.root].id), QAbstractItemView::PositionAtTop);
    tree_.scrollTo(shown);
}

void ThreadFilter::StepToMatch(int step) {
    const auto count = static_cast<std::ptrdiff_t>(nodes_.size());
    if (count == 0 || std::find(marked_.begin(), marked_.end(), 1) == marked_.end()) {
        return;
    }
    const QModelIndex current = tree_.currentIndex();
    std::ptrdiff_t at = step > 0 ? -1 : count;  // before the first, after the last
    for (std::ptrdiff_t i = 0; i < count && current.isValid(); ++i) {
        if (nodes_[static_cast<std::size_t>(i)].id == ThreadTreeModel::NodeOf(current)) {
            at = i;
            break;
        }
    }
    for (std::ptrdiff_t n = 0; n < count; ++n) {
        at = ((at + step) % count + count) % count;
        if (marked_[static_cast<std::size_t>(at)]) {
            MakeCurrent(model_.IndexOf(nodes_[static_cast<std::size_t>(at)].id));
            return;
        }
    }
}

void ThreadFilter::MakeCurrent(const QModelIndex& node) {
    if (IsUnfolded(tree_, node)) {
        tree_.setCurrentIndex(node);
        tree_.scrollTo(node);
        return;
    }
    // Below a level the window keeps folded (too deep for the view): made
    // current where it stands, since scrolling to it would open, and have
    // taken back, each level above it.
    const bool autoScroll = tree_.hasAutoScroll();
    tree_.setAutoScroll(false);
    tree_.setCurrentIndex(node);
    tree_.setAutoScroll(autoScroll);
}

}  // namespace teluri
