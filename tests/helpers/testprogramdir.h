#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testing {

// A fresh copy of the built program folder in a temporary directory, made the program directory,
// with the settings store redirected beside it. Everything is undone when it goes out of scope.
class TestProgramDir {
public:
    TestProgramDir();
    ~TestProgramDir();
    TestProgramDir(const TestProgramDir&) = delete;
    TestProgramDir& operator=(const TestProgramDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString databasePath() const;
    QString filePath(const QString& name) const;
    QString settingsDir() const { return m_settings.path(); }

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_settings;
};

// Where the build put the program folder.
QString builtProgramDir();

} // namespace testing
