#pragma once

#include <QString>
#include <QTemporaryDir>

namespace bench {

// A copy of the built program folder in a temporary directory, its catalogue grown by `cards`
// generated cards (0 keeps the shipped catalogue; the generator is the tests' one); the copy
// becomes the program directory.
class BenchProgramDir {
public:
    explicit BenchProgramDir(int cards = 0);
    QString databasePath() const;
    // Makes this copy the program directory again (after another copy was made).
    void makeCurrent() const;

private:
    QTemporaryDir m_dir;
};

// One program folder per catalogue size, made at the first call and kept for the whole run.
BenchProgramDir& programDirWith(int cards);

// Runs the registered benchmarks inside an offscreen QApplication whose message boxes answer Yes
// and whose file dialogs are cancelled, so that nothing waits for a player.
int runWindowBenchmarks(int argc, char** argv);

} // namespace bench
