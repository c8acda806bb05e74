// What the tool prints: a deck's evaluation as text, the pool query as text, TSV or JSON, and its messages.
#include "cli/output.h"

#include "db/database.h"
#include "deck/deckevaluation.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cli {

namespace {

QString overLimit(int limit) {
    return QStringLiteral("  (!) über der Grenze von %1").arg(limit);
}

// A cell in a line-per-row format: a tab or line break inside it would split the row.
QString oneLine(const QString& cell) {
    if (!cell.contains(u'\t') && !cell.contains(u'\n') && !cell.contains(u'\r'))
        return cell;
    QString line = cell;
    for (QChar& c : line)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return line;
}

} // namespace

bool keepsLimits(const deck::DeckEvaluation& evaluation) {
    return std::none_of(evaluation.nodes.begin(), evaluation.nodes.end(),
                        [](const deck::NoteNode& n) { return n.red; });
}

QString evaluationText(const deck::DeckEvaluation& evaluation, const QString& leaderEntry,
                       const QString& inquisitorEntry) {
    QString text = QStringLiteral("Anführer:   ") + leaderEntry + u'\n' + QStringLiteral("Inquisitor: ") +
                   inquisitorEntry + u'\n' + u'\n';
    for (const deck::NoteNode& node : evaluation.nodes) {
        text += node.parentKey.isEmpty() ? QString() : QStringLiteral("  ");
        text += node.text;
        if (node.red)
            text += overLimit(node.key == u"C" ? evaluation.moonLimit : evaluation.cardLimit);
        text += u'\n';
    }
    text += u'\n';
    text += keepsLimits(evaluation) ? QStringLiteral("Das Deck hält seine Grenzen ein.\n")
                                    : QStringLiteral("Das Deck überschreitet seine Grenzen.\n");
    return text;
}

namespace {

// JSON has no infinity: such a number keeps its text.
QJsonValue jsonValue(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::Double:
        return std::isfinite(value.toDouble()) ? QJsonValue(value.toDouble()) : QJsonValue(db::cellText(value));
    default:
        return value.isNull() ? QJsonValue() : QJsonValue(value.toString());
    }
}

QByteArray tsvLine(const QStringList& cells) {
    QString line;
    for (qsizetype c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += u'\t';
        line += oneLine(cells[c]);
    }
    return line.toUtf8() + '\n';
}

} // namespace

void PoolOutput::row(const QStringList& labels, const QVariantList& values) {
    ++m_count;
    if (m_format == Format::Json) {
        QJsonObject object;
        for (qsizetype c = 0; c < labels.size(); ++c)
            object.insert(labels[c], jsonValue(values.value(c)));
        m_json.append(object);
        return;
    }
    QStringList cells;
    for (const QVariant& value : values)
        cells << db::cellText(value);
    if (m_format == Format::Tsv)
        m_body += tsvLine(cells);
    else
        m_rows.push_back(cells);
}

QByteArray PoolOutput::finish(const QStringList& labels) {
    if (m_format == Format::Tsv)
        return tsvLine(labels) + m_body;
    if (m_format == Format::Json)
        return QJsonDocument(m_json).toJson(QJsonDocument::Indented);
    std::vector<qsizetype> widths(static_cast<size_t>(labels.size()), 0);
    auto measure = [&widths](const QStringList& cells) {
        for (qsizetype c = 0; c < cells.size() && c < static_cast<qsizetype>(widths.size()); ++c)
            widths[static_cast<size_t>(c)] =
                std::max(widths[static_cast<size_t>(c)], oneLine(cells[c]).size());
    };
    measure(labels);
    for (const QStringList& cells : m_rows)
        measure(cells);
    auto line = [&widths](const QStringList& cells) {
        QString text;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            if (c > 0)
                text += QStringLiteral("  ");
            text += oneLine(cells[c]).leftJustified(widths[static_cast<size_t>(c)]);
        }
        while (text.endsWith(u' '))
            text.chop(1);
        return text.toUtf8() + '\n';
    };
    QByteArray out = line(labels);
    for (const QStringList& cells : m_rows)
        out += line(cells);
    out += QStringLiteral("\nAnzahl Karten: %1\n").arg(m_count).toUtf8();
    return out;
}

QByteArray terminalText(const QString& text) {
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
}

bool writeStandardOutput(const QByteArray& bytes) {
    if (!bytes.isEmpty() && std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
                                static_cast<size_t>(bytes.size()))
        return false;
    return std::fflush(stdout) == 0;
}

void reportError(const QString& message) {
    QString line = message;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    const QByteArray bytes = (QStringLiteral("dravenna-deck: ") + line.trimmed() + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace cli
