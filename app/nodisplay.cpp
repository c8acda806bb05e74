// The start without a display: Qt's fatal end turned into one German line and exit 1.
#include "app/nodisplay.h"

#include <QByteArray>
#include <QtGlobal>
#include <unistd.h>
#include <vector>

namespace ui {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

std::vector<HeldMessage> g_held;
QtMessageHandler g_previous = nullptr;

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QByteArray line = noDisplayLine().toUtf8() + '\n';
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.constData(), static_cast<size_t>(line.size()));
        ::_exit(1);
    }
    g_held.push_back({type, context.file, context.function, context.category, context.line, text});
}

} // namespace

NoDisplayGuard::NoDisplayGuard() { g_previous = qInstallMessageHandler(holdOrEnd); }

NoDisplayGuard::~NoDisplayGuard() {
    qInstallMessageHandler(g_previous);
    for (const HeldMessage& m : g_held) {
        const QMessageLogContext context(m.file.constData(), m.line, m.function.constData(), m.category.constData());
        g_previous(m.type, context, m.text);
    }
    g_held.clear();
}

QString noDisplayLine() {
    const QString display = qEnvironmentVariable("DISPLAY");
    return QStringLiteral("Dravenna Deck-Builder: kein Bildschirm erreichbar (DISPLAY %1).")
        .arg(display.isEmpty() ? QStringLiteral("nicht gesetzt") : display);
}

} // namespace ui
