#pragma once

#include <QString>
#include <memory>

namespace core {

// The lock that makes one running program the owner of the card database. It is held through the
// operating system (a file lock on "<database>.lock"), so it ends with its process however that
// process ends: a lock file left by a killed program, an empty one or one with garbage in it does
// not keep a later start out.
class InstanceLock {
public:
    enum class State {
        Acquired,          // this process owns the database now
        HeldByLiveProgram, // another running program owns it
        CannotCreate,      // the lock file cannot be made (read-only folder, no permission…); see reason()
    };

    explicit InstanceLock(const QString& lockPath);
    ~InstanceLock(); // releases the lock and removes its file when it was acquired
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return m_state; }
    // Why the lock file cannot be made; empty unless state() is CannotCreate.
    const QString& reason() const { return m_reason; }
    const QString& path() const { return m_path; }

private:
    bool tryLock();

    QString m_path;
    State m_state = State::CannotCreate;
    QString m_reason;
    int m_fd = -1;
};

// Tries to claim the card database for this process (lock file beside it).
std::unique_ptr<InstanceLock> claimDatabase(const QString& databasePath);

} // namespace core
