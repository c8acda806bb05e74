// A fresh copy of the built program folder in a temporary directory.
#include "tests/helpers/testprogramdir.h"

#include "core/programdir.h"
#include "db/database.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest/QTest>

namespace testing {

QString builtProgramDir() { return QStringLiteral(DRAVENNA_BUILT_PROGRAM_DIR); }

TestProgramDir::TestProgramDir() {
    const QDir source(builtProgramDir());
    const auto entries = source.entryInfoList(QDir::Files);
    for (const QFileInfo& info : entries)
        if (info.suffix() != u"lock")
            QFile::copy(info.absoluteFilePath(), m_dir.filePath(info.fileName()));
    core::setProgramDirectory(m_dir.path());
    core::setPerUserDirectory(QString());
    // A run of the program from the build folder may have been stopped with a deck in it.
    if (QFile::exists(databasePath()))
        db::Database::OpenDatabase(databasePath())->Execute(QStringLiteral("DELETE * FROM DECK"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
}

TestProgramDir::~TestProgramDir() {
    core::setProgramDirectory(QString());
    core::setPerUserDirectory(QString());
}

QString TestProgramDir::databasePath() const { return m_dir.filePath(QStringLiteral("dravennacard.db")); }

QString TestProgramDir::filePath(const QString& name) const { return m_dir.filePath(name); }

} // namespace testing
