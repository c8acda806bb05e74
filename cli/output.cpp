#include "cli/output.h"

#include "deck/deckevaluation.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

namespace cli {

namespace {

QString overLimit(int limit) {
    return QStringLiteral("  (!) über der Grenze von %1").arg(limit);
}

// A cell in a line-per-row format: a tab or line break inside it would split the row.
QString oneLine(QString cell) {
    for (QChar& c : cell)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return cell;
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

QByteArray poolText(const QStringList& labels, const std::vector<QStringList>& rows, Format format) {
    QByteArray out;
    if (format == Format::Json) {
        out += "[";
        bool first = true;
        for (const QStringList& row : rows) {
            QJsonObject object;
            for (qsizetype c = 0; c < labels.size(); ++c)
                object.insert(labels[c], row.value(c));
            out += first ? "\n" : ",\n";
            first = false;
            out += QJsonDocument(object).toJson(QJsonDocument::Compact);
        }
        out += "\n]\n";
        return out;
    }
    if (format == Format::Tsv) {
        QStringList header;
        for (const QString& label : labels)
            header << oneLine(label);
        out += header.join(u'\t').toUtf8() + '\n';
        for (const QStringList& row : rows) {
            QStringList cells;
            for (const QString& cell : row)
                cells << oneLine(cell);
            out += cells.join(u'\t').toUtf8() + '\n';
        }
        return out;
    }
    std::vector<qsizetype> widths(static_cast<size_t>(labels.size()), 0);
    auto measure = [&widths](const QStringList& cells) {
        for (qsizetype c = 0; c < cells.size() && c < static_cast<qsizetype>(widths.size()); ++c)
            widths[static_cast<size_t>(c)] =
                std::max(widths[static_cast<size_t>(c)], oneLine(cells[c]).size());
    };
    measure(labels);
    for (const QStringList& row : rows)
        measure(row);
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
    out += line(labels);
    for (const QStringList& row : rows)
        out += line(row);
    out += QStringLiteral("\nAnzahl Karten: %1\n").arg(rows.size()).toUtf8();
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
