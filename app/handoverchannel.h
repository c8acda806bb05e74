#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace ui {

// Listens for later starts of the program; each one's deck path (or an empty path) is passed on.
// Only connections of this program's own user are heard. A plain local socket watched by the
// event loop: the hand-over needs no network library, and a start maps none.
class HandOverServer : public QObject {
    Q_OBJECT
public:
    explicit HandOverServer(QObject* parent = nullptr);
    ~HandOverServer() override;

    // Only the owner of the database lock listens, and the socket lies in a private folder, so a
    // socket already at socketPath was left by a program that ended without closing and is removed
    // first. why receives the reason on failure.
    bool listen(const QString& socketPath, QString* why);

Q_SIGNALS:
    void handedOver(const QString& deckPath);

private:
    struct Listening;
    void acceptWaiting();
    std::unique_ptr<Listening> m_listening;
};

// Hands deckPath to the program listening at one of socketPaths and waits until it has taken it.
// Keeps trying for waitMs, for a program that holds the lock but is still starting. A listener of
// another user is told nothing. Returns an empty text when the program took it, else why not.
QString handOverToRunningProgram(const QStringList& socketPaths, const QString& deckPath, int waitMs);

} // namespace ui
