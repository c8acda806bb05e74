#pragma once

#include <QString>
#include <QTemporaryDir>

namespace bench {

// A copy of the built program folder in a temporary directory, its catalogue grown to about `cards`
// generated cards (0 keeps the shipped catalogue); the copy becomes the program directory.
class BenchProgramDir {
public:
    explicit BenchProgramDir(int cards = 0);
    QString databasePath() const;

private:
    QTemporaryDir m_dir;
};

} // namespace bench
