// The tool's command line: QCommandLineParser reads it, the messages and the help text are the tool's own.
#include "cli/commandline.h"

#include <QCommandLineParser>

namespace cli {

namespace {

struct CommandName {
    const char* name;
    Command command;
    int minFiles;
    int maxFiles;
};
constexpr CommandName kCommands[] = {
    {"check", Command::Check, 1, 1},   {"list", Command::List, 1, 1},   {"export", Command::Export, 1, 1},
    {"import", Command::Import, 1, 1}, {"query", Command::Query, 0, 1}, {"help", Command::Help, 0, 0},
    {"diff", Command::Diff, 2, 2},     {"odds", Command::Odds, 1, 1},
};

// The options that take a value, under the name the messages give them.
struct ValueOption {
    const char* name;  // the parser's first name
    const char* shown; // as messages name it
};
constexpr ValueOption kValueOptions[] = {
    {"db", "--db"}, {"o", "-o"}, {"cardtable-data", "--cardtable-data"}, {"order", "--order"}, {"format", "--format"},
    {"hand", "--hand"}};

QString shownName(const QString& parserName) {
    for (const ValueOption& o : kValueOptions)
        if (parserName == QLatin1String(o.name))
            return QLatin1String(o.shown);
    return parserName == u"output" ? QStringLiteral("-o") : QStringLiteral("--") + parserName;
}

// Which options each command takes; the others are refused rather than silently ignored.
bool takes(Command command, const QString& option) {
    if (option == u"--db")
        return command != Command::Help && command != Command::Version;
    if (option == u"-o")
        return command == Command::List || command == Command::Export || command == Command::Import;
    if (option == u"--cardtable-data")
        return command == Command::Export;
    if (option == u"--order")
        return command == Command::Query;
    if (option == u"--format")
        return command == Command::Query || command == Command::Diff || command == Command::Odds;
    if (option == u"--hand")
        return command == Command::Odds;
    return false;
}

// The argument as the caller wrote it that holds an option the parser did not know.
QString writtenAs(const QStringList& arguments, const QString& unknown) {
    for (const QString& arg : arguments) {
        if (arg == u"--")
            break;
        if (unknown.size() > 1 && (arg == QStringLiteral("--") + unknown || arg.startsWith(QStringLiteral("--") + unknown + u'=')))
            return arg;
        if (unknown.size() == 1 && arg.startsWith(u'-') && !arg.startsWith(u"--") && arg.contains(unknown))
            return arg;
    }
    return (unknown.size() > 1 ? QStringLiteral("--") : QStringLiteral("-")) + unknown;
}

Parsed wrong(const QString& message) { return {std::nullopt, message}; }

// Why the parser refused the line, in the tool's words.
Parsed refusal(const QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.unknownOptionNames().isEmpty())
        return wrong(QStringLiteral("Unbekannte Option %1 (siehe dravenna-deck --help).")
                         .arg(writtenAs(arguments, parser.unknownOptionNames().first())));
    // What remains: a value option as the last argument (help and version win before this).
    const QString last = arguments.value(arguments.size() - 1);
    return wrong(QStringLiteral("Der Option %1 fehlt ihr Wert.")
                     .arg(shownName(last.startsWith(QStringLiteral("--")) ? last.mid(2) : last.right(1))));
}

} // namespace

Parsed parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("V"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    for (const ValueOption& o : kValueOptions) {
        QStringList names{QLatin1String(o.name)};
        if (names.first() == u"o")
            names << QStringLiteral("output");
        parser.addOption(QCommandLineOption(names, QString(), QStringLiteral("WERT")));
    }
    const bool parsed = parser.parse(QStringList{QStringLiteral("dravenna-deck")} + arguments);
    // Help and version answer whatever else the line holds.
    if (parser.isSet(help))
        return {Invocation{}, {}};
    if (parser.isSet(version)) {
        Invocation call;
        call.command = Command::Version;
        return {call, {}};
    }
    if (!parsed)
        return refusal(parser, arguments);

    Invocation call;
    QStringList seenOptions;
    for (const ValueOption& o : kValueOptions) {
        const QString name = QLatin1String(o.name);
        const QStringList values = parser.values(name);
        if (values.isEmpty())
            continue;
        const QString shown = QLatin1String(o.shown);
        if (values.size() > 1)
            return wrong(QStringLiteral("Die Option %1 ist mehrfach angegeben.").arg(shown));
        const QString& value = values.first();
        if (value.isEmpty())
            return wrong(QStringLiteral("Der Wert der Option %1 ist leer.").arg(shown));
        seenOptions << shown;
        if (name == u"db")
            call.database = value;
        else if (name == u"o")
            call.output = value;
        else if (name == u"cardtable-data")
            call.cardTableData = value;
        else if (name == u"order")
            call.order = value;
        else if (name == u"hand") {
            bool number = false;
            call.handSize = value.toInt(&number);
            if (!number || call.handSize < 1 || call.handSize > 60)
                return wrong(QStringLiteral("Die Option --hand braucht eine Zahl von 1 bis 60."));
        }
        else if (value == u"text")
            call.format = Format::Text;
        else if (value == u"tsv")
            call.format = Format::Tsv;
        else if (value == u"json")
            call.format = Format::Json;
        else
            return wrong(QStringLiteral("Unbekanntes Format %1: erlaubt sind text, tsv und json.").arg(value));
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return wrong(QStringLiteral("Kein Befehl angegeben (siehe dravenna-deck --help)."));
    const QString commandName = positional.takeFirst();
    const CommandName* command = nullptr;
    for (const CommandName& c : kCommands)
        if (commandName == QLatin1String(c.name))
            command = &c;
    if (!command)
        return wrong(QStringLiteral("Unbekannter Befehl %1 (siehe dravenna-deck --help).").arg(commandName));
    call.command = command->command;
    call.files = positional;
    for (const QString& option : seenOptions)
        if (!takes(call.command, option))
            return wrong(QStringLiteral("Die Option %1 gehört nicht zu diesem Befehl.").arg(option));
    if (call.files.size() < command->minFiles)
        return wrong(QStringLiteral("Dem Befehl %1 fehlt die Datei.").arg(commandName));
    if (call.files.size() > command->maxFiles)
        return wrong(QStringLiteral("Zu viele Angaben für den Befehl %1: %2")
                         .arg(commandName, call.files.mid(command->maxFiles).join(u' ')));
    return {call, {}};
}

QString helpText() {
    return QStringLiteral(
        "Aufruf: dravenna-deck BEFEHL [OPTIONEN]\n"
        "Deck-Regeln und Dateiformate des Dravenna Deck-Builders ohne Fenster.\n"
        "\n"
        "Befehle:\n"
        "  check DECK.drd                 prüft das Deck gegen die Grenzen seines Anführers und Inquisitors\n"
        "                                 und zeigt die Hinweise des Programms; Rückgabe 0: innerhalb der\n"
        "                                 Grenzen, 1: überschritten, 2: Datei unlesbar oder kein bekannter "
        "Anführer\n"
        "  list DECK.drd [-o DATEI]       die Deckliste; in eine Datei wie \"Deckliste Speichern\" "
        "(Windows-1252,\n"
        "                                 CR LF), sonst als UTF-8-Text auf die Standardausgabe\n"
        "  export DECK.drd [--cardtable-data DATEI] [-o AUS.ctd]\n"
        "                                 das Deck als CardTable-Deck; ohne --cardtable-data die im "
        "Programm\n"
        "                                 eingestellten CardTable-Daten\n"
        "  import EIN.ctd [-o DECK.drd]   ein CardTable-Deck als Deck-Datei\n"
        "  query [BEDINGUNG] [--order \"ORDER BY …\"] [--format text|tsv|json]\n"
        "                                 die Karten des Katalogs, gefiltert wie im Spezial-Filter\n"
        "  diff A.drd B.drd [--format text|tsv|json]\n"
        "                                 vergleicht zwei Decks: Karten nur in A, in beiden, nur in B und\n"
        "                                 die Unterschiede; Rückgabe 0: gleich, 1: verschieden, 2: Fehler\n"
        "  odds DECK.drd [--hand N] [--format text|tsv|json]\n"
        "                                 die exakten Chancen, mindestens k Karten jeder Fraktion, Kartenart\n"
        "                                 und Mondzahl in den ersten N Karten (Vorgabe 7) zu halten\n"
        "\n"
        "Optionen:\n"
        "  --db DATEI        die Kartendatenbank; sonst die, die das Programm verwendet\n"
        "  -o, --output DATEI  schreibt in diese Datei (vollständig oder gar nicht) statt auf die "
        "Standardausgabe\n"
        "  -h, --help        diese Hilfe\n"
        "  -V, --version     die Version\n"
        "\n"
        "Die Kartendatenbank wird nur gelesen; das Deck eines laufenden Programms bleibt unberührt.\n"
        "Fehler: eine Zeile auf der Standardfehlerausgabe und Rückgabe 1 (check: 2), falscher Aufruf: 2.\n");
}

} // namespace cli
