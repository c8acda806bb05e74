#pragma once

#include "cli/commandline.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace deck {
struct DeckEvaluation;
}

namespace cli {

// The notes as indented text, a count over its limit marked with that limit, and a closing verdict.
QString evaluationText(const deck::DeckEvaluation& evaluation, const QString& leaderEntry,
                       const QString& inquisitorEntry);
bool keepsLimits(const deck::DeckEvaluation& evaluation);

// Rows of the pool query in one of the formats, gathered whole so that a query that fails half
// way prints nothing; text lines end with LF. JSON keeps numbers as numbers and empty cells as null.
class PoolOutput {
public:
    explicit PoolOutput(Format format) : m_format(format) {}
    void row(const QStringList& labels, const QVariantList& values);
    QByteArray finish(const QStringList& labels);

private:
    Format m_format;
    QByteArray m_body;
    QJsonArray m_json;
    qsizetype m_count = 0;
    std::vector<QStringList> m_rows; // the text format aligns its columns at the end
};

// Program text (CR LF lines) as a terminal shows it: UTF-8, LF.
QByteArray terminalText(const QString& text);

// Writes all of bytes to standard output; false when it could not.
bool writeStandardOutput(const QByteArray& bytes);

// One line on standard error, prefixed with the tool's name.
void reportError(const QString& message);

} // namespace cli
