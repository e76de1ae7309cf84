// The one guard through which every slot, timer handler and event handler
// runs its body: an exception never crosses the event loop. It is shown in
// the standard error box and the program goes on with the state reached.
#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace teluri {

// The text the standard error box shows for an error: its message and, for
// an error about a file's content, a second line naming the file.
QString ErrorText(const std::exception& error);

// Runs `body`; returns false when it threw (after showing the error).
bool Guarded(QWidget* parent, const std::function<void()>& body) noexcept;

}  // namespace teluri
