// Build-time tool: draws every card face of the picture store from the catalogue and writes the
// JPEG files and the resource list that embeds them in DravennaRes.
#include "db/database.h"
#include "db/dberror.h"
#include "cardres/picturekeys.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cstdio>
#include <optional>

namespace {

constexpr int kWidth = 271;
constexpr int kHeight = 450;
// Every stored file lies between these sizes, and 123 of the 312 are progressive.
constexpr qint64 kMinBytes = 19828;
constexpr qint64 kMaxBytes = 61372;
constexpr int kProgressive = 123;
constexpr int kPictures = 312;

struct Face {
    QString kind; // "KARTEN", "ANFUEHRER", "INQUISITOR", "" for a number without a card
    QHash<QString, QString> field;
};

QColor factionColor(const QString& faction) {
    static const QHash<QString, QColor> colors = {
        {u"ORVANE"_qs, QColor(150, 32, 40)},  {u"SIVAR"_qs, QColor(40, 90, 160)},  {u"QUENTA"_qs, QColor(46, 120, 60)},
        {u"BRAMEL"_qs, QColor(190, 120, 30)}, {u"TOLVEN"_qs, QColor(95, 60, 140)}, {u"GARSK"_qs, QColor(90, 90, 96)},
        {u"UMBREL"_qs, QColor(28, 28, 44)},   {u"KORVAL"_qs, QColor(30, 130, 140)},
    };
    return colors.value(faction.toUpper(), QColor(120, 110, 90));
}

std::optional<Face> lookUp(db::Database& conn, const QString& number) {
    for (const QString& table : {u"KARTEN"_qs, u"ANFUEHRER"_qs, u"INQUISITOR"_qs}) {
        auto rs = conn.OpenRecordset(QStringLiteral("SELECT * FROM %1 WHERE NUMMER = '%2'").arg(table, number));
        if (rs.Eof())
            continue;
        Face face{table, {}};
        for (int i = 0; i < rs.labels().size(); ++i)
            face.field.insert(rs.labels()[i], db::cellText(rs.Fields(i)));
        return face;
    }
    return std::nullopt;
}

void drawFrame(QPainter& p, const QColor& base, quint32 seed) {
    QLinearGradient g(0, 0, kWidth, kHeight);
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(1, base.darker(160));
    p.fillRect(0, 0, kWidth, kHeight, g);
    // A little grain, so the faces look printed rather than flat.
    QRandomGenerator rng(seed);
    for (int i = 0; i < 2500; ++i) {
        const int shade = rng.bounded(60);
        p.setPen(QColor(shade, shade, shade, 40));
        p.drawPoint(rng.bounded(kWidth), rng.bounded(kHeight));
    }
    p.setPen(QPen(QColor(230, 200, 120), 4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, kWidth - 12, kHeight - 12), 12, 12);
}

void drawText(QPainter& p, const QRect& r, const QString& text, int px, bool bold, int flags, QColor color = Qt::white) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    p.setFont(f);
    p.setPen(color);
    p.drawText(r, flags, text);
}

void drawStrength(QPainter& p, int x, const QString& value, bool warded, const QColor& color, const QString& label) {
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(color);
    p.drawEllipse(QPoint(x, 300), 26, 26);
    drawText(p, QRect(x - 30, 274, 60, 52), value.isEmpty() ? QStringLiteral("–") : (warded ? u'[' + value + u']' : value), 20,
             true, Qt::AlignCenter);
    drawText(p, QRect(x - 40, 328, 80, 16), label, 11, false, Qt::AlignCenter);
}

QImage drawFace(const dravennares::PictureKey& key, const std::optional<Face>& face, quint32 seed) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    if (key.group == u"BLANK") {
        drawFrame(p, QColor(200, 190, 170), seed);
        return image;
    }
    const QString faction = face ? face->field.value(u"FRAKTION"_qs) : QString();
    drawFrame(p, factionColor(faction.isEmpty() ? key.group : faction), seed);
    const QString number = key.group + u' ' + key.id;
    if (!face) {
        drawText(p, QRect(16, 190, kWidth - 32, 40), number, 18, true, Qt::AlignCenter);
        return image;
    }
    const auto& f = face->field;
    // Name banner.
    p.fillRect(QRect(16, 18, kWidth - 32, 52), QColor(0, 0, 0, 110));
    drawText(p, QRect(22, 20, kWidth - 44, 48), f.value(u"NAME"_qs), 16, true, Qt::AlignCenter | Qt::TextWordWrap);

    if (face->kind == u"ANFUEHRER" || face->kind == u"INQUISITOR") {
        const bool leader = face->kind == u"ANFUEHRER";
        drawText(p, QRect(16, 90, kWidth - 32, 30), leader ? QStringLiteral("ANFÜHRER") : QStringLiteral("INQUISITOR"), 22, true,
                 Qt::AlignCenter, QColor(240, 210, 130));
        if (leader)
            drawText(p, QRect(16, 130, kWidth - 32, 24), faction, 16, false, Qt::AlignCenter);
        const QString sign = leader ? QString() : QStringLiteral("+");
        drawText(p, QRect(16, 220, kWidth - 32, 30), sign + f.value(u"KARTEN"_qs) + QStringLiteral(" Karten"), 20, true,
                 Qt::AlignCenter);
        drawText(p, QRect(16, 255, kWidth - 32, 30), sign + f.value(u"MONDE"_qs) + QStringLiteral(" Monde"), 20, true,
                 Qt::AlignCenter);
    } else {
        drawText(p, QRect(16, 74, kWidth - 32, 20), f.value(u"KARTENART"_qs) + QStringLiteral(" · ") + faction, 12, false,
                 Qt::AlignCenter, QColor(240, 220, 170));
        // Art window with the faction's initial.
        p.fillRect(QRect(28, 100, kWidth - 56, 150), QColor(255, 255, 255, 40));
        drawText(p, QRect(28, 100, kWidth - 56, 150), faction.left(1), 90, true, Qt::AlignCenter, QColor(255, 255, 255, 90));
        drawStrength(p, 60, f.value(u"STFEUER"_qs), f.value(u"ABFEUER"_qs) == u"-1", QColor(200, 60, 30), QStringLiteral("Feuer"));
        drawStrength(p, kWidth - 60, f.value(u"STERDE"_qs), f.value(u"ABERDE"_qs) == u"-1", QColor(120, 80, 40),
                     QStringLiteral("Erde"));
        // Moons.
        const int moons = f.value(u"MONDE"_qs).toInt();
        for (int m = 0; m < moons && m < 8; ++m) {
            p.setBrush(QColor(235, 235, 200));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPoint(kWidth / 2 - (moons - 1) * 9 + m * 18, 300), 7, 7);
        }
        QStringList symbols;
        for (const auto& [column, word] : {std::pair{u"FREI"_qs, u"Frei"_qs}, {u"PAAR"_qs, u"Paar"_qs},
                                           {u"GESCHÜTZT"_qs, u"Geschützt"_qs}, {u"WIEDERAUFNEHMEN"_qs, u"Aufn."_qs},
                                           {u"STOP"_qs, u"Stopp"_qs}, {u"ERSETZEN"_qs, u"Ersetzen"_qs}})
            if (f.value(column) == u"-1")
                symbols << word;
        if (!f.value(u"GANG"_qs).isEmpty() && f.value(u"GANG"_qs) != u"-")
            symbols << f.value(u"GANG"_qs);
        drawText(p, QRect(16, 348, kWidth - 32, 16), symbols.join(QStringLiteral(" · ")), 11, true, Qt::AlignCenter,
                 QColor(250, 230, 160));
        p.fillRect(QRect(20, 366, kWidth - 40, 52), QColor(250, 245, 230, 220));
        drawText(p, QRect(26, 368, kWidth - 52, 48), f.value(u"SONDER"_qs), 9, false, Qt::AlignLeft | Qt::TextWordWrap,
                 QColor(30, 30, 30));
    }
    drawText(p, QRect(16, kHeight - 30, kWidth - 32, 16), number, 11, false, Qt::AlignCenter, QColor(240, 220, 170));
    return image;
}

// A printed card's paper grain: every pixel a little lighter or darker. The amplitude is what makes
// a face's file larger or smaller.
QImage withGrain(const QImage& face, int amplitude, quint32 seed) {
    QImage grained = face.convertToFormat(QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < grained.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grained.scanLine(y));
        for (int x = 0; x < grained.width(); ++x) {
            const int d = amplitude ? static_cast<int>(rng.bounded(2 * amplitude + 1)) - amplitude : 0;
            line[x] = qRgb(qBound(0, qRed(line[x]) + d, 255), qBound(0, qGreen(line[x]) + d, 255),
                           qBound(0, qBlue(line[x]) + d, 255));
        }
    }
    return grained;
}

QByteArray encode(const QImage& image, bool progressive, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

// The face as a JPEG file within the store's size range: more grain while it is too small, a lower
// quality while it is too large.
QByteArray encodeWithinRange(const QImage& face, bool progressive, quint32 seed) {
    int amplitude = 4;
    int quality = 92;
    for (int attempt = 0; attempt < 60; ++attempt) {
        const QByteArray bytes = encode(withGrain(face, amplitude, seed), progressive, quality);
        if (bytes.isEmpty())
            return bytes;
        if (bytes.size() < kMinBytes + 512)
            amplitude += 3;
        else if (bytes.size() > kMaxBytes - 512)
            quality -= 3;
        else
            return bytes;
    }
    return {};
}

// Spreads the progressive files evenly over the store: index i is progressive for 41 of every 104
// indices, 123 in all; the offset keeps ORVANE 00 baseline and BRAMEL 00 progressive.
bool isProgressive(int index) { return ((index + 5) * 41) % 104 < 41; }
static_assert(kProgressive * 104 == kPictures * 41);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_pictures <dravennacard.db> <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    out.mkpath(QStringLiteral("."));
    try {
        auto conn = db::Database::OpenDatabase(QString::fromLocal8Bit(argv[1]));
        QString qrc = QStringLiteral("<RCC>\n  <qresource prefix=\"/dravennares\">\n");
        const auto keys = dravennares::pictureKeys();
        if (keys.size() != kPictures) {
            std::fprintf(stderr, "expected %d picture keys, got %d\n", kPictures, static_cast<int>(keys.size()));
            return 1;
        }
        for (int i = 0; i < keys.size(); ++i) {
            const auto& key = keys[i];
            const QImage face = drawFace(key, lookUp(*conn, key.group + u' ' + key.id), static_cast<quint32>(i + 1));
            const QString file = out.filePath(key.group + u'_' + key.id + QStringLiteral(".jpg"));
            // Both kinds of JPEG are in the store, so that callers must decode both.
            const QByteArray bytes = encodeWithinRange(face, isProgressive(i), static_cast<quint32>(i + 1));
            QFile jpeg(file);
            if (bytes.isEmpty() || !jpeg.open(QIODevice::WriteOnly) || jpeg.write(bytes) != bytes.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
            qrc += QStringLiteral("    <file alias=\"%1/%2.jpg\">%3</file>\n").arg(key.group, key.id, file);
        }
        qrc += QStringLiteral("  </qresource>\n</RCC>\n");
        QFile list(out.filePath(QStringLiteral("pictures.qrc")));
        if (!list.open(QIODevice::WriteOnly) || list.write(qrc.toUtf8()) < 0)
            return 1;
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
