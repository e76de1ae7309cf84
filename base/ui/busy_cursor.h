// The application-wide hourglass for the length of a scope: put back
// however the scope ends.
#pragma once

#include <QApplication>
#include <QCursor>

namespace teluri {

class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace teluri
