// Saving the page on show as a PDF file: from the page's popup menu, and in
// place of printing when no printer is installed.
#pragma once

#include <QString>

class QWidget;

namespace teluri {

class PageDisplay;

// The file proposed for the page of `documentUrl`: the page file's name
// with ".pdf" in place of its extension (the message number for a page,
// "1234.pdf"), in the user's documents folder (the home folder without one).
QString ProposedPdfPath(const QString& documentUrl);

// Asks for a file name, proposing ProposedPdfPath, and writes the page there
// as PDF, replacing the file atomically. Nothing happens when the user
// cancels. A file that cannot be written throws IoError.
void SavePageAsPdf(QWidget* parent, PageDisplay& html);

// With no printer: asks whether to save the page as PDF instead, and does so
// on Yes. Returns false when the user declines.
bool OfferPdfInsteadOfPrinting(QWidget* parent, PageDisplay& html);

}  // namespace teluri
