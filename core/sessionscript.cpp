// The test hook: a script that stands in for the player of a real program run.
#include "core/sessionscript.h"

#include <QFile>

namespace core {

namespace {

QString iconName(Icon icon) {
    switch (icon) {
    case Icon::Critical: return QStringLiteral("Critical");
    case Icon::Question: return QStringLiteral("Question");
    case Icon::Exclamation: return QStringLiteral("Exclamation");
    case Icon::Information: return QStringLiteral("Information");
    case Icon::None: break;
    }
    return QStringLiteral("None");
}

bool isAction(const QString& verb) { return verb == u"menu" || verb == u"close" || verb == u"await"; }

} // namespace

SessionScript::SessionScript(const QString& scriptPath, const QString& logPath) : m_logPath(logPath) {
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype blank = line.indexOf(u' ');
        Step step{blank < 0 ? line : line.left(blank), blank < 0 ? QString() : line.mid(blank + 1)};
        if (!isAction(step.verb) && step.verb != u"answer" && step.verb != u"file") {
            m_error = QStringLiteral("unknown step: ") + line;
            return;
        }
        m_steps << step;
    }
}

std::optional<SessionScript::Step> SessionScript::takeIf(const QString& verb) {
    if (m_next >= m_steps.size() || m_steps.at(m_next).verb != verb)
        return std::nullopt;
    return m_steps.at(m_next++);
}

Answer SessionScript::message(const QString& text, const QString& title, Icon icon, Buttons buttons) {
    Answer answer = buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    QString given = QStringLiteral("unscripted");
    if (const auto step = takeIf(QStringLiteral("answer"))) {
        given = step->argument;
        if (buttons == Buttons::YesNo && step->argument == u"Yes")
            answer = Answer::Yes;
    } else if (buttons == Buttons::Ok) {
        given = QStringLiteral("Ok");
    }
    log({QStringLiteral("message"), title, text, iconName(icon), buttons == Buttons::Ok ? QStringLiteral("Ok") : QStringLiteral("YesNo"),
         given});
    return answer;
}

bool SessionScript::fileDialog(FileDialogState& state, bool save) {
    const auto step = takeIf(QStringLiteral("file"));
    const QString chosen = step ? step->argument : QString();
    log({QStringLiteral("file"), state.dialogTitle, save ? QStringLiteral("save") : QStringLiteral("open"), state.initDir,
         chosen});
    if (chosen.isEmpty())
        return false;
    state.fileName = chosen;
    return true;
}

std::optional<SessionScript::Step> SessionScript::takeAction() {
    if (m_next >= m_steps.size() || !isAction(m_steps.at(m_next).verb))
        return std::nullopt;
    const Step step = m_steps.at(m_next++);
    log({QStringLiteral("step"), step.verb, step.argument});
    return step;
}

QString SessionScript::escape(const QString& field) {
    QString out;
    for (const QChar c : field) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

QStringList SessionScript::parseLogLine(const QString& line) {
    QStringList fields{QString()};
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\t') {
            fields << QString();
        } else if (c == u'\\' && i + 1 < line.size()) {
            const QChar n = line.at(++i);
            fields.back() += n == u't' ? QChar(u'\t') : n == u'r' ? QChar(u'\r') : n == u'n' ? QChar(u'\n') : n;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

void SessionScript::log(const QStringList& fields) {
    if (m_logPath.isEmpty())
        return;
    QStringList escaped;
    for (const QString& f : fields)
        escaped << escape(f);
    // Opened per line so that a test reading the log while the program runs sees every line whole.
    QFile file(m_logPath);
    if (file.open(QIODevice::Append))
        file.write((escaped.join(u'\t') + u'\n').toUtf8());
}

} // namespace core
