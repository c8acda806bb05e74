#include "cli/commandline.h"

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
};

// Which options each command takes; the others are refused rather than silently ignored.
bool takes(Command command, const QString& option) {
    if (option == u"--db")
        return command != Command::Help && command != Command::Version;
    if (option == u"-o")
        return command == Command::List || command == Command::Export || command == Command::Import;
    if (option == u"--cardtable-data")
        return command == Command::Export;
    if (option == u"--order" || option == u"--format")
        return command == Command::Query;
    return false;
}

} // namespace

Parsed parseCommandLine(const QStringList& arguments) {
    Invocation call;
    std::optional<Command> command;
    QStringList seenOptions;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        if (!onlyFiles && arg == u"--") {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && (arg == u"-h" || arg == u"--help"))
            return {Invocation{}, {}};
        if (!onlyFiles && (arg == u"-V" || arg == u"--version")) {
            Invocation version;
            version.command = Command::Version;
            return {version, {}};
        }
        if (!onlyFiles && arg.startsWith(u'-') && arg.size() > 1) {
            QString value;
            bool inlineValue = false;
            if (const qsizetype eq = arg.indexOf(u'='); arg.startsWith(QStringLiteral("--")) && eq > 0) {
                value = arg.mid(eq + 1);
                arg = arg.left(eq);
                inlineValue = true;
            }
            if (arg == u"--output")
                arg = QStringLiteral("-o");
            if (arg != u"--db" && arg != u"-o" && arg != u"--cardtable-data" && arg != u"--order" &&
                arg != u"--format")
                return {
                    std::nullopt,
                    QStringLiteral("Unbekannte Option %1 (siehe dravenna-deck --help).").arg(arguments[i])};
            if (!inlineValue) {
                if (i + 1 >= arguments.size())
                    return {std::nullopt, QStringLiteral("Der Option %1 fehlt ihr Wert.").arg(arg)};
                value = arguments[++i];
            }
            if (seenOptions.contains(arg))
                return {std::nullopt, QStringLiteral("Die Option %1 ist mehrfach angegeben.").arg(arg)};
            seenOptions << arg;
            if (value.isEmpty())
                return {std::nullopt, QStringLiteral("Der Wert der Option %1 ist leer.").arg(arg)};
            if (arg == u"--db")
                call.database = value;
            else if (arg == u"-o")
                call.output = value;
            else if (arg == u"--cardtable-data")
                call.cardTableData = value;
            else if (arg == u"--order")
                call.order = value;
            else if (value == u"text")
                call.format = Format::Text;
            else if (value == u"tsv")
                call.format = Format::Tsv;
            else if (value == u"json")
                call.format = Format::Json;
            else
                return {std::nullopt,
                        QStringLiteral("Unbekanntes Format %1: erlaubt sind text, tsv und json.").arg(value)};
            continue;
        }
        if (!command) {
            for (const CommandName& c : kCommands)
                if (arg == QLatin1String(c.name))
                    command = c.command;
            if (!command)
                return {std::nullopt,
                        QStringLiteral("Unbekannter Befehl %1 (siehe dravenna-deck --help).").arg(arg)};
            continue;
        }
        call.files << arg;
    }
    if (!command)
        return {std::nullopt, QStringLiteral("Kein Befehl angegeben (siehe dravenna-deck --help).")};
    call.command = *command;
    for (const QString& option : seenOptions)
        if (!takes(call.command, option))
            return {std::nullopt, QStringLiteral("Die Option %1 gehört nicht zu diesem Befehl.").arg(option)};
    for (const CommandName& c : kCommands) {
        if (c.command != call.command)
            continue;
        if (call.files.size() < c.minFiles)
            return {std::nullopt,
                    QStringLiteral("Dem Befehl %1 fehlt die Datei.").arg(QLatin1String(c.name))};
        if (call.files.size() > c.maxFiles)
            return {std::nullopt, QStringLiteral("Zu viele Angaben für den Befehl %1: %2")
                                      .arg(QLatin1String(c.name), call.files.mid(c.maxFiles).join(u' '))};
    }
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
