// The deck on paper: a deck-list sheet and a proxy sheet of card pictures, for a printer or a PDF file.
#include "cardview/decksheets.h"

#include "cardview/cardtext.h"
#include "cardview/picturelibrary.h"
#include "db/database.h"
#include "deck/deckevaluation.h"
#include "deckio/decklist.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace cardview {

namespace {

constexpr double kPageWidthMm = 210.0;
constexpr double kPageHeightMm = 297.0;
constexpr double kMarginMm = 15.0;
constexpr double kLineMm = 5.0;
constexpr double kCutMarkMm = 5.0;

struct SheetLine {
    QString text;
    bool bold = false;
    bool red = false;
};

std::vector<SheetLine> listLines(const SheetContent& content) {
    std::vector<SheetLine> lines;
    QStringList list = content.deckList.split(QStringLiteral("\r\n"));
    while (!list.isEmpty() && list.back().isEmpty())
        list.removeLast();
    for (const QString& line : list) {
        // The leader, the inquisitor and the card-type headings stand out, as in the window's grids.
        const bool heading = line.startsWith(QStringLiteral("ANFÜHRER:")) || line.startsWith(QStringLiteral("INQUISITOR:")) ||
                             (!line.isEmpty() && line == line.toUpper() && line.endsWith(u')') && !line.contains(u':'));
        lines.push_back({line, heading, false});
    }
    if (!content.notes.empty()) {
        lines.push_back({});
        lines.push_back({QStringLiteral("Hinweise"), true, false});
        for (const auto& [text, red] : content.notes)
            lines.push_back({text, false, red});
    }
    return lines;
}

int linesPerPage() { return int((kPageHeightMm - 2 * kMarginMm - 2 * kLineMm) / kLineMm); }

int listPages(const SheetContent& content) {
    const int lines = int(listLines(content).size());
    return std::max(1, (lines + linesPerPage() - 1) / linesPerPage());
}

} // namespace

SheetContent sheetContent(db::Database& conn, const QString& leaderEntry, const QString& inquisitorEntry,
                          PictureLibrary& library) {
    SheetContent content;
    content.deckList = deckio::buildDeckList(conn, leaderEntry, inquisitorEntry);
    const int cards = conn.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM DECK")).Fields(0).toInt();
    const deck::DeckEvaluation evaluation = deck::evaluateDeck(conn, leaderEntry, inquisitorEntry, cards, 0);
    for (const deck::NoteNode& n : evaluation.nodes)
        content.notes.emplace_back((n.parentKey.isEmpty() ? QString() : QStringLiteral("    ")) + n.text, n.red);

    const bool withLibrary = library.ensureLoaded();
    for (auto rs = conn.OpenRecordset(QStringLiteral("SELECT NUMMER, NAME FROM DECK ORDER BY KARTENART,FRAKTION,NUMMER,NAME"));
         !rs.Eof(); rs.MoveNext()) {
        QImage picture;
        if (withLibrary) {
            const PictureRef ref = pictureRef(rs.Fields(0).toString());
            picture = library.GetPicture(ref.id, ref.group);
            if (picture.isNull())
                picture = library.GetPicture(QStringLiteral("BLANK"), QStringLiteral("BLANK"));
        }
        if (picture.isNull()) {
            // Without pictures the proxy still says which card it stands for.
            picture = QImage(630, 880, QImage::Format_RGB32);
            picture.fill(Qt::white);
            QPainter p(&picture);
            p.drawRect(picture.rect().adjusted(0, 0, -1, -1));
            p.setFont(QFont(QStringLiteral("DejaVu Sans"), 28));
            p.drawText(picture.rect().adjusted(30, 30, -30, -30), Qt::AlignCenter | Qt::TextWordWrap,
                       rs.Fields(1).toString() + QStringLiteral("\n\n") + rs.Fields(0).toString());
        }
        content.pictures.push_back(picture);
    }
    return content;
}

int sheetPages(const SheetContent& content, const SheetOptions& options) {
    const int perPage = kCardsAcross * kCardsDown;
    return (options.deckList ? listPages(content) : 0) +
           (options.proxies ? (int(content.pictures.size()) + perPage - 1) / perPage : 0);
}

int paintSheets(QPagedPaintDevice& device, const SheetContent& content, const SheetOptions& options) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter p(&device);
    if (!p.isActive())
        return 0;
    // Millimetres from the paper's corner, whatever the device's resolution.
    const double dots = device.logicalDpiX() / 25.4;
    p.scale(dots, device.logicalDpiY() / 25.4);
    int pages = 0;
    auto nextPage = [&] {
        if (pages++ > 0)
            device.newPage();
    };

    if (options.deckList) {
        // Text in the device's own dots: a font's size is in points of the device, which a painter scaled to
        // millimetres would blow up a dozen times over.
        const double dotsX = device.logicalDpiX() / 25.4;
        const double dotsY = device.logicalDpiY() / 25.4;
        auto inDots = [&](double x, double y, double w, double h) { return QRectF(x * dotsX, y * dotsY, w * dotsX, h * dotsY); };
        const std::vector<SheetLine> lines = listLines(content);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(10.0);
        const int perPage = linesPerPage();
        for (size_t at = 0; at < std::max<size_t>(lines.size(), 1); at += size_t(perPage)) {
            nextPage();
            p.save();
            p.resetTransform();
            p.setPen(Qt::black);
            QFont title = font;
            title.setBold(true);
            title.setPointSizeF(12.0);
            p.setFont(title);
            p.drawText(inDots(kMarginMm, kMarginMm, kPageWidthMm - 2 * kMarginMm, kLineMm * 1.5), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("Dravenna-Deckliste"));
            double y = kMarginMm + 2 * kLineMm;
            for (size_t i = at; i < std::min(lines.size(), at + size_t(perPage)); ++i, y += kLineMm) {
                QFont f = font;
                f.setBold(lines[i].bold);
                p.setFont(f);
                p.setPen(lines[i].red ? Qt::red : Qt::black);
                p.drawText(inDots(kMarginMm, y, kPageWidthMm - 2 * kMarginMm, kLineMm), Qt::AlignLeft | Qt::AlignVCenter,
                           lines[i].text);
            }
            p.restore();
        }
    }

    if (options.proxies) {
        const double left = (kPageWidthMm - kCardsAcross * kCardWidthMm) / 2;
        const double top = (kPageHeightMm - kCardsDown * kCardHeightMm) / 2;
        const int perPage = kCardsAcross * kCardsDown;
        for (size_t at = 0; at < content.pictures.size(); at += size_t(perPage)) {
            nextPage();
            for (size_t i = at; i < std::min(content.pictures.size(), at + size_t(perPage)); ++i) {
                const int cell = int(i - at);
                const QRectF box(left + (cell % kCardsAcross) * kCardWidthMm, top + (cell / kCardsAcross) * kCardHeightMm,
                                 kCardWidthMm, kCardHeightMm);
                p.drawImage(box, content.pictures[i]);
            }
            if (options.cutMarks) {
                QPen pen(Qt::black);
                pen.setWidthF(0.2);
                p.setPen(pen);
                // Outside the grid only, so that no mark shows on a cut card.
                for (int c = 0; c <= kCardsAcross; ++c) {
                    const double x = left + c * kCardWidthMm;
                    p.drawLine(QPointF(x, top - 1 - kCutMarkMm), QPointF(x, top - 1));
                    p.drawLine(QPointF(x, top + kCardsDown * kCardHeightMm + 1),
                               QPointF(x, top + kCardsDown * kCardHeightMm + 1 + kCutMarkMm));
                }
                for (int r = 0; r <= kCardsDown; ++r) {
                    const double y = top + r * kCardHeightMm;
                    p.drawLine(QPointF(left - 1 - kCutMarkMm, y), QPointF(left - 1, y));
                    p.drawLine(QPointF(left + kCardsAcross * kCardWidthMm + 1, y),
                               QPointF(left + kCardsAcross * kCardWidthMm + 1 + kCutMarkMm, y));
                }
            }
        }
    }
    p.end();
    return pages;
}

QByteArray sheetsPdf(const SheetContent& content, const SheetOptions& options) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Dravenna-Deck"));
        writer.setCreator(QStringLiteral("Dravenna Deck-Builder"));
        writer.setResolution(300);
        pages = paintSheets(writer, content, options);
    }
    return pages > 0 ? bytes : QByteArray();
}

} // namespace cardview
