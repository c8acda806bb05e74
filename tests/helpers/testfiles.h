#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest/QTest>

namespace testing {

// A file's bytes, or a marker that no real file content can be mistaken for.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

} // namespace testing
