// The picture library, loaded from the program folder the way the program finds it.
#include "cardres/dravennares.h"
#include "cardres/picturekeys.h"
#include "cardview/picturelibrary.h"
#include "tests/helpers/testprogramdir.h"

#include <QDirIterator>
#include <QFile>
#include <QPluginLoader>
#include <QtTest/QTest>
#include <algorithm>
#include <limits>

class TstDravennaRes : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TestProgramDir> m_dir;
    std::unique_ptr<QPluginLoader> m_loader;
    _Main* m_main = nullptr;

    QImage get(const char* id, const char* group) {
        return m_main->GetPicture(QVariant(QString::fromLatin1(id)), QString::fromLatin1(group));
    }

private Q_SLOTS:
    void initTestCase() {
        m_dir = std::make_unique<testing::TestProgramDir>();
        const QString path = cardview::PictureLibrary::findPlugin(m_dir->path());
        QVERIFY2(!path.isEmpty(), "no plugin with the class identifier in the program folder");
        m_loader = std::make_unique<QPluginLoader>(path);
        QCOMPARE(m_loader->metaData().value(QStringLiteral("IID")).toString(),
                 QStringLiteral("{43D99E51-B3A0-4F4F-9D43-4EC03ACAF736}"));
        m_main = qobject_cast<_Main*>(m_loader->instance());
        QVERIFY(m_main);
    }

    void entriesByGroupAndTextId() {
        const QImage card = get("05", "ORVANE");
        QCOMPARE(card.size(), QSize(271, 450));
        QVERIFY(get("5", "ORVANE").isNull());
        QCOMPARE(get("05", "orvane"), card);
        QCOMPARE(get("05", "OrVaNe"), card);
        QVERIFY(get("05", "NOSUCH").isNull());
        QVERIFY(get("", "ORVANE").isNull());
        QVERIFY(get("../05", "ORVANE").isNull());
        QVERIFY(m_main->GetPicture(QVariant(5), QStringLiteral("ORVANE")).isNull());
        QCOMPARE(get("blank", "Blank").size(), QSize(271, 450));
    }

    void baselineAndProgressiveBothDecode() {
        QVERIFY(!get("00", "ORVANE").isNull());
        QVERIFY(!get("00", "BRAMEL").isNull());
        auto bytes = [](const QString& group, const QString& id) {
            QFile f(QStringLiteral(":/dravennares/%1/%2.jpg").arg(group, id));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        // SOF0 marks a baseline JPEG, SOF2 a progressive one; both carry a JFIF header.
        const QByteArray baseline = bytes(QStringLiteral("ORVANE"), QStringLiteral("00"));
        const QByteArray progressive = bytes(QStringLiteral("BRAMEL"), QStringLiteral("00"));
        QVERIFY(baseline.mid(6, 4) == "JFIF" && progressive.mid(6, 4) == "JFIF");
        QVERIFY(baseline.contains(QByteArray("\xff\xc0", 2)));
        QVERIFY(progressive.contains(QByteArray("\xff\xc2", 2)));
    }

    void storeHoldsExactlyTheKeys() {
        QSet<QString> expected;
        for (const auto& key : dravennares::pictureKeys())
            expected.insert(key.group + u'/' + key.id + QStringLiteral(".jpg"));
        QCOMPARE(expected.size(), 312);
        QSet<QString> present;
        int progressive = 0;
        int baseline = 0;
        qint64 smallest = std::numeric_limits<qint64>::max();
        qint64 largest = 0;
        for (QDirIterator it(QStringLiteral(":/dravennares"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            present.insert(path.mid(QStringLiteral(":/dravennares/").size()));
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QCOMPARE(bytes.mid(6, 4), QByteArray("JFIF"));
            progressive += bytes.contains(QByteArray("\xff\xc2", 2));
            baseline += bytes.contains(QByteArray("\xff\xc0", 2));
            smallest = std::min(smallest, bytes.size());
            largest = std::max(largest, bytes.size());
        }
        QCOMPARE(present, expected);
        QCOMPARE(baseline, 189);
        QCOMPARE(progressive, 123);
        QVERIFY2(smallest >= 19828 && largest <= 61372,
                 qPrintable(QStringLiteral("%1 to %2 bytes").arg(smallest).arg(largest)));
        for (const auto& key : dravennares::pictureKeys())
            QCOMPARE(m_main->GetPicture(QVariant(key.id), key.group).size(), QSize(271, 450));
    }

    void missingLibraryIsReportedNotFatal() {
        testing::TestProgramDir empty;
        for (const QString& f : QDir(empty.path()).entryList({QStringLiteral("*.so")}))
            QFile::remove(empty.filePath(f));
        cardview::PictureLibrary library;
        QVERIFY(!library.ensureLoaded());
        QVERIFY(!library.error().isEmpty());
        QVERIFY(library.GetPicture(QStringLiteral("05"), QStringLiteral("ORVANE")).isNull());
    }
};

QTEST_MAIN(TstDravennaRes)
#include "tst_dravennares.moc"
