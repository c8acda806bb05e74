#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

enum class Command { Help, Version, Check, List, Export, Import, Query, Diff, Odds };
enum class Format { Text, Tsv, Json };

// One call of the tool, as its command line names it.
struct Invocation {
    Command command = Command::Help;
    QStringList files;     // the command's own arguments: a deck file, or a condition
    QString database;      // --db; empty: the one the program uses
    QString output;        // -o; empty: standard output
    QString cardTableData; // --cardtable-data; empty: where the program was told it lies
    QString order;         // --order
    Format format = Format::Text;
    int handSize = 7; // --hand
};

// The invocation, or a German message saying what is wrong with the command line.
struct Parsed {
    std::optional<Invocation> invocation;
    QString error;
};
Parsed parseCommandLine(const QStringList& arguments);

QString helpText();

} // namespace cli
