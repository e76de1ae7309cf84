#include "base/ui/dialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace teluri {
namespace {

// The toolkit's file dialogs keep their history, last folder and view in a
// settings file of the user's ("QtProject.conf" in the configuration
// folder), read when they open and written when they close. The program
// keeps no state outside its own folder: the toolkit's user settings are
// pointed at a folder that cannot exist, below the null device, so that file
// is neither read nor written, whichever dialog comes first.
void KeepToolkitSettingsOff() {
    static const bool done = [] {
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, "/dev/null/");
        }
        return true;
    }();
    (void)done;
}

// The folder-choice dialog. A folder name typed into its field is returned
// even when no such folder exists; the dialog neither creates it nor asks.
class FolderDialog : public QFileDialog {
  public:
    FolderDialog(QWidget* parent, const QString& start) : QFileDialog(parent) {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::ShowDirsOnly);
        setFileMode(QFileDialog::Directory);
        setLabelText(QFileDialog::Accept, "OK");
        setLabelText(QFileDialog::Reject, QString::fromUtf8("キャンセル"));
        setDirectory(start.isEmpty() ? QDir::currentPath() : start);
    }

    QString Chosen() const { return chosen_; }

    void accept() override {
        const auto* edit = findChild<QLineEdit*>("fileNameEdit");
        const QString typed = edit ? edit->text().trimmed() : QString();
        if (!typed.isEmpty()) {
            const QString path = QDir(directory()).absoluteFilePath(typed);
            if (!QFileInfo(path).isDir()) {
                chosen_ = path;
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
        if (result() == QDialog::Accepted && chosen_.isEmpty()) {
            const QStringList files = selectedFiles();
            chosen_ = files.isEmpty() ? directory().absolutePath() : files.first();
        }
    }

  private:
    QString chosen_;
};

DialogHooks DefaultHooks() {
    KeepToolkitSettingsOff();
    DialogHooks hooks;
    hooks.messageBox = [](QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                          const QString& text) {
        QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
        box.exec();
    };
    hooks.execDialog = [](QDialog& dialog) { return dialog.exec(); };
    hooks.chooseFolder = [](QWidget* parent, const QString& start) -> std::optional<QString> {
        FolderDialog dialog(parent, start);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return dialog.Chosen();
    };
    hooks.askYesNo = [](QWidget* parent, const QString& caption, const QString& text) {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    };
    hooks.chooseSaveFile = [](QWidget* parent, const QString& caption, const QString& proposed,
                              const QString& filter) -> std::optional<QString> {
        // The toolkit's own dialog, like the folder dialog: it speaks the
        // program's language whatever the desktop's.
        const QString chosen = QFileDialog::getSaveFileName(
            parent, caption, proposed, filter, nullptr, QFileDialog::DontUseNativeDialog);
        if (chosen.isEmpty()) {
            return std::nullopt;
        }
        return chosen;
    };
    hooks.printer = []() -> std::unique_ptr<QPrinter> {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            return nullptr;
        }
        return std::make_unique<QPrinter>(info);
    };
    hooks.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return hooks;
}

}  // namespace

QString ErrorCaption() {
    return QString::fromUtf8("ｴﾗｰ");
}

DialogHooks& Dialogs() {
    static DialogHooks hooks = DefaultHooks();
    return hooks;
}

void ResetDialogHooks() {
    Dialogs() = DefaultHooks();
}

void ShowStandardError(QWidget* parent, const QString& message) {
    Dialogs().messageBox(parent, QMessageBox::Critical, QString::fromUtf8(kApplicationTitle),
                         message);
}

void ShowErrorMessage(QWidget* parent, const QString& message) {
    Dialogs().messageBox(parent, QMessageBox::Critical, ErrorCaption(), message);
}

}  // namespace teluri
