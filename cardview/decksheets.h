#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;

namespace db {
class Database;
}

namespace cardview {

class PictureLibrary;

// What goes on paper: the deck list, the evaluation's notes and the deck's card pictures.
struct SheetContent {
    QString deckList;                        // as the deck list writes it
    std::vector<std::pair<QString, bool>> notes; // note text (children indented) and whether it is marked red
    std::vector<QImage> pictures;            // one per deck card, in the deck list's order
};

struct SheetOptions {
    bool deckList = true; // the deck-list sheet
    bool proxies = true;  // the card pictures at 63 × 88 mm, 3 × 3 to a page
    bool cutMarks = true; // short lines outside the grid where to cut
};

// A card on paper, and how many fit on one A4 page.
inline constexpr double kCardWidthMm = 63.0;
inline constexpr double kCardHeightMm = 88.0;
inline constexpr int kCardsAcross = 3;
inline constexpr int kCardsDown = 3;

// Reads the sheets' content for the deck in DECK: the list, the notes and each card's picture from the
// library (its blank picture where one is missing, a framed name where the library is not there).
SheetContent sheetContent(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry,
                          PictureLibrary& library);

// Paints the sheets on a device set up as A4 portrait without margins (printer or PDF writer); returns the
// number of pages.
int paintSheets(QPagedPaintDevice& device, const SheetContent& content, const SheetOptions& options);

// Pages the sheets take: one deck-list page per page of lines, one per nine pictures.
int sheetPages(const SheetContent& content, const SheetOptions& options);

// The sheets as a PDF document, A4 portrait; empty when there is nothing to print.
QByteArray sheetsPdf(const SheetContent& content, const SheetOptions& options);

} // namespace cardview
