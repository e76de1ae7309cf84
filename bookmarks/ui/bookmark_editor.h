// The bookmark editor: reorders, retitles and deletes the bookmark lines.
// It has no OK or Cancel: closing it, whatever the way, accepts everything.
// Created once and reused; the title field keeps its text between uses.
#pragma once

#include <QDialog>

#include "bookmarks/bookmark_list.h"

class QLineEdit;
class QListWidget;
class QToolButton;

namespace teluri {

class BookmarkEditor : public QDialog {
  public:
    explicit BookmarkEditor(QWidget* parent = nullptr);

    // Replaces the list's lines; no line is selected.
    void SetLines(const BookmarkList& lines);
    // The lines as the list holds them now.
    BookmarkList Lines() const;
    // The selected line's position, -1 for none.
    int SelectedIndex() const;

    QListWidget& list() { return *list_; }
    QLineEdit& titleField() { return *titleField_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Handle(void (BookmarkEditor::*handler)());
    // Shows `lines` and selects the line at `selected` (-1: none), updating
    // only the rows that changed.
    void ShowLines(const BookmarkList& lines, int selected);

    void ShowSelectedTitle();
    void RenameSelected();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void DeleteSelected();

    QListWidget* list_;
    QLineEdit* titleField_;
};

}  // namespace teluri
