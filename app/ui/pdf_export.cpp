#include "app/ui/pdf_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "base/errors.h"
#include "base/files.h"
#include "base/messages.h"
#include "base/ui/dialogs.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_display.h"

namespace teluri {
namespace {

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// The page printed into PDF bytes. The printer writes to a file of its own
// in a private temporary folder, so that the file chosen is only ever
// replaced whole.
QByteArray PdfOf(PageDisplay& html) {
    QTemporaryDir folder;
    if (!folder.isValid()) {
        throw IoError(msg::Format(msg::kCannotCreateFile, folder.path().toStdString()));
    }
    const QString file = folder.filePath("page.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        html.PrintDocument(printer);
    }
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) {
        throw IoError(msg::Format(msg::kCannotOpenFile, file.toStdString()));
    }
    return pdf.readAll();
}

}  // namespace

QString ProposedPdfPath(const QString& documentUrl) {
    QString name = QFileInfo(QUrl(documentUrl).path()).completeBaseName();
    if (name.isEmpty()) {
        name = "page";
    }
    return QDir(DocumentsFolder()).filePath(name + ".pdf");
}

void SavePageAsPdf(QWidget* parent, PageDisplay& html) {
    const std::optional<QString> chosen =
        Dialogs().chooseSaveFile(parent, Text("PDF として保存"),
                                 ProposedPdfPath(html.DocumentUrl()), Text("PDF ファイル (*.pdf)"));
    if (!chosen) {
        return;
    }
    const QByteArray pdf = PdfOf(html);
    const std::string path = ToLocalPath(*chosen);
    if (WriteFileAtomically(path, std::string_view(pdf.constData(), pdf.size()))) {
        throw IoError(msg::Format(msg::kCannotCreateFile, path));
    }
}

bool OfferPdfInsteadOfPrinting(QWidget* parent, PageDisplay& html) {
    if (!Dialogs().askYesNo(parent, Text("印刷"),
                            Text("プリンタがありません。このページを PDF として保存しますか?"))) {
        return false;
    }
    SavePageAsPdf(parent, html);
    return true;
}

}  // namespace teluri
