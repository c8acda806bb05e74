#include "cli/output.h"

#include "deck/deckevaluation.h"

#include <algorithm>
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

// A JSON string: quotes, backslashes and control characters escaped, everything else as UTF-8.
void appendJsonString(QByteArray& out, const QString& text) {
    out += '"';
    // Bytes of multi-byte UTF-8 sequences are all above 0x7f: only plain ASCII needs escaping.
    for (const char b : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(b);
        if (u == '"' || u == '\\') {
            out += '\\';
            out += b;
        } else if (u == '\n') {
            out += "\\n";
        } else if (u < 0x20) {
            out += "\\u00" + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += b;
        }
    }
    out += '"';
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

void PoolOutput::row(const QStringList& labels, const QStringList& cells) {
    ++m_count;
    if (m_format == Format::Tsv) {
        m_body += tsvLine(cells);
    } else if (m_format == Format::Json) {
        m_body += m_count == 1 ? "\n{" : ",\n{";
        for (qsizetype c = 0; c < labels.size(); ++c) {
            if (c > 0)
                m_body += ',';
            appendJsonString(m_body, labels[c]);
            m_body += ':';
            appendJsonString(m_body, cells.value(c));
        }
        m_body += '}';
    } else {
        m_rows.push_back(cells);
    }
}

QByteArray PoolOutput::finish(const QStringList& labels) {
    if (m_format == Format::Tsv)
        return tsvLine(labels) + m_body;
    if (m_format == Format::Json)
        return "[" + m_body + "\n]\n";
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
