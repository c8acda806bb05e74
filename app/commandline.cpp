// The window program's command line: an optional deck file, --help and --version.
#include "app/commandline.h"

#include <QCommandLineParser>
#include <cstdio>

namespace ui {

namespace {

QString dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

} // namespace

StartRequest readStartRequest(const QStringList& arguments) {
    QCommandLineParser parser;
    // Single-dash words are Qt's (-platform, -stylesheet): never letters of -h or -V.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("V"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    const bool parsed = parser.parse(arguments);
    StartRequest request;
    if (parser.isSet(help)) {
        request.kind = StartRequest::Kind::Help;
    } else if (parser.isSet(version)) {
        request.kind = StartRequest::Kind::Version;
    } else if (!parsed) {
        request.kind = StartRequest::Kind::Wrong;
        request.message = parser.unknownOptionNames().isEmpty()
                              ? QStringLiteral("Die Optionen --help und --version nehmen keinen Wert.")
                              : QStringLiteral("Unbekannte Option %1 (siehe dravenna-deckbuilder --help).")
                                    .arg(dashed(parser.unknownOptionNames().first()));
    } else if (parser.positionalArguments().size() > 1) {
        request.kind = StartRequest::Kind::Wrong;
        request.message = QStringLiteral("Nur eine Deck-Datei kann geladen werden, nicht auch %1.")
                              .arg(parser.positionalArguments().mid(1).join(u' '));
    } else {
        request.deckArgument = parser.positionalArguments().value(0);
    }
    return request;
}

QString windowProgramHelp() {
    return QStringLiteral(
        "Aufruf: dravenna-deckbuilder [OPTIONEN] [DECK.drd]\n"
        "Decks für das Sammelkartenspiel Dravenna zusammenstellen, prüfen und speichern.\n"
        "\n"
        "  DECK.drd          lädt diese Deck-Datei (umschließende Anführungszeichen werden entfernt);\n"
        "                    läuft das Programm schon, übernimmt es das Deck und kommt nach vorn\n"
        "\n"
        "Optionen:\n"
        "  -h, --help        diese Hilfe\n"
        "  -V, --version     die Version\n"
        "  dazu die Optionen von Qt, etwa -platform NAME oder -style NAME\n"
        "\n"
        "Ohne erreichbaren Bildschirm: eine Zeile auf der Standardfehlerausgabe und Rückgabe 1;\n"
        "falscher Aufruf: Rückgabe 2. Decks ohne Fenster prüft dravenna-deck.\n");
}

QString windowProgramVersion() {
    return QStringLiteral("dravenna-deckbuilder (Dravenna Deck-Builder) " DRAVENNA_VERSION_TEXT "\n");
}

std::optional<int> answerBeforeDisplay(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartRequest request = readStartRequest(arguments);
    if (request.kind != StartRequest::Kind::Help && request.kind != StartRequest::Kind::Version)
        return std::nullopt;
    const QByteArray text =
        (request.kind == StartRequest::Kind::Help ? windowProgramHelp() : windowProgramVersion()).toUtf8();
    const bool written = std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout) ==
                         static_cast<size_t>(text.size());
    return std::fflush(stdout) == 0 && written ? 0 : 1;
}

int refuse(const StartRequest& wrong) {
    std::fputs(("dravenna-deckbuilder: " + wrong.message + u'\n').toUtf8().constData(), stderr);
    return 2;
}

} // namespace ui
