#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace ui {

// Listens for later starts of the program; each one's deck path (or an empty path) is passed on.
class HandOverServer : public QObject {
    Q_OBJECT
public:
    explicit HandOverServer(QObject* parent = nullptr);

    // Only the owner of the database lock listens, so a socket already under this name was left by
    // a program that ended without closing and is removed first. why receives the reason on failure.
    bool listen(const QString& name, QString* why);

Q_SIGNALS:
    void handedOver(const QString& deckPath);

private:
    void onNewConnection();

    QLocalServer m_server;
};

// Hands deckPath to the program listening under name and waits until it has taken it. Keeps
// trying for waitMs, for a program that holds the lock but is still starting. False when no
// program took it.
bool handOverToRunningProgram(const QString& name, const QString& deckPath, int waitMs);

} // namespace ui
