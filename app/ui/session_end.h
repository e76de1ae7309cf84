// Ends the program as its Exit command does when it is told to end from
// outside: by SIGTERM, SIGINT or SIGHUP (`kill`, Ctrl+C in a terminal, the
// terminal or the session closing) and by the loss of the display's
// connection. The window closes (its shape and the read marks are saved),
// the program leaves its event loop and gives its lock back.
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace teluri {

class ProgramFolderLock;

class SessionEnd : public QObject {
  public:
    // One per program, for its main window.
    SessionEnd(QWidget& window, ProgramFolderLock& lock);
    ~SessionEnd() override;

  private:
    // A signal arrived: the open dialogs and the window close, and the event
    // loops end.
    void EndFromSignal();
    // The program ends without returning from main: the toolkit lost the
    // display and exits. The window's closing saves what it saves, with no
    // message box, and the lock is given back.
    static void EndAtExit();

    QWidget& window_;
    ProgramFolderLock& lock_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace teluri
