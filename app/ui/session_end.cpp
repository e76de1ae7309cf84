#include "app/ui/session_end.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSocketNotifier>
#include <QWidget>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "app/ui/program_folder_lock.h"
#include "base/ui/dialogs.h"

namespace teluri {
namespace {

constexpr std::array kEndingSignals = {SIGTERM, SIGINT, SIGHUP};
// Dialogs open over one another at most this deep.
constexpr int kMostNestedDialogs = 16;

// The pipe from the signal handler to the event loop: the handler may only
// write a byte; the loop reads it and ends the program.
int signalPipe[2] = {-1, -1};
SessionEnd* running = nullptr;

void WriteSignalByte(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

SessionEnd::SessionEnd(QWidget& window, ProgramFolderLock& lock)
    : QObject(&window), window_(window), lock_(lock) {
    running = this;
    static const bool atExitRegistered = std::atexit(&SessionEnd::EndAtExit) == 0;
    (void)atExitRegistered;
    if (signalPipe[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;  // the program still ends by its menu
    }
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], bytes, sizeof bytes);
        EndFromSignal();
    });
    struct sigaction action = {};
    action.sa_handler = &WriteSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndingSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

SessionEnd::~SessionEnd() {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (const int signal : kEndingSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    running = nullptr;
}

void SessionEnd::EndFromSignal() {
    // A modal dialog runs a loop of its own: closed first, so that the
    // window's closing is the last thing that happens.
    for (int count = 0; count < kMostNestedDialogs && QApplication::activeModalWidget() != nullptr;
         ++count) {
        QApplication::activeModalWidget()->close();
    }
    window_.close();
    QCoreApplication::quit();
}

void SessionEnd::EndAtExit() {
    if (running == nullptr) {
        return;  // main returned: everything is done
    }
    SessionEnd& end = *running;
    running = nullptr;
    // Nobody is left to answer a message box.
    Dialogs().messageBox = [](QWidget*, QMessageBox::Icon, const QString&, const QString&) {};
    Dialogs().execDialog = [](QDialog&) { return 0; };
    Dialogs().askYesNo = [](QWidget*, const QString&, const QString&) { return false; };
    // The close event alone: hiding the window would talk to the display.
    QCloseEvent close;
    QCoreApplication::sendEvent(&end.window_, &close);
    end.lock_.Release();
}

}  // namespace teluri
