// The production prompter with Qt's real message boxes and file dialogs, in German.
#include "core/apperror.h"
#include "core/dialogprompter.h"
#include "core/prompter.h"
#include "core/qttranslation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

class TstDialogPrompter : public QObject {
    Q_OBJECT

    // Runs act on the modal dialog that the call opens, then lets the call return.
    template <typename Dialog>
    static void whenOpen(const std::function<void(Dialog&)>& act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            act(*dialog);
        });
    }

    static QString typedSaveName(const QString& extension, const QString& filterName, const QString& typed,
                                 const QString& folder) {
        core::FileDialogState state;
        state.defaultExt = QStringLiteral("drd"); // the main window's, which a deck list must not get
        core::prepareFileDialog(state, QStringLiteral("Speichern"), extension, filterName, core::dialogflags::PathMustExist);
        state.initDir = folder;
        whenOpen<QFileDialog>([typed](QFileDialog& d) {
            auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(typed);
            static_cast<QDialog&>(d).accept(); // QFileDialog::accept handles the typed name
        });
        ui::DialogPrompter prompter;
        return prompter.fileDialog(state, true) ? state.fileName : QString();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(core::installQtGermanTranslation(*qApp), "qtbase_de is not installed (qt6-translations-l10n)");
    }

    void questionsAnswerWithJaAndNein() {
        QStringList captions;
        whenOpen<QMessageBox>([&captions](QMessageBox& box) {
            for (QAbstractButton* b : box.buttons())
                captions << b->text().remove(u'&');
            box.button(QMessageBox::No)->click();
        });
        ui::DialogPrompter prompter;
        const core::Answer answer = prompter.message(QStringLiteral("Wirklich?"), QStringLiteral("Frage"), core::Icon::Question,
                                                     core::Buttons::YesNo);
        QCOMPARE(answer, core::Answer::No);
        captions.sort();
        QCOMPARE(captions, (QStringList{"Ja", "Nein"}));
    }

    void fileDialogSpeaksGerman() {
        QTemporaryDir dir;
        QString accept;
        whenOpen<QFileDialog>([&accept](QFileDialog& d) {
            auto* box = d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            QVERIFY(box);
            accept = box->button(QDialogButtonBox::Save) ? box->button(QDialogButtonBox::Save)->text()
                                                          : box->buttons().value(0)->text();
            d.reject();
        });
        core::FileDialogState state;
        core::prepareFileDialog(state, QStringLiteral("Speichern"), QStringLiteral("drd"), QStringLiteral("Dravenna-Decks"), 0);
        state.initDir = dir.path();
        ui::DialogPrompter prompter;
        QVERIFY(!prompter.fileDialog(state, true));
        QCOMPARE(accept.remove(u'&'), QStringLiteral("Speichern"));
    }

    // Started under LC_ALL=C.UTF-8 (see main below), the file dialog still shows sizes and dates in German.
    void fileDialogShowsSizesAndDatesInGerman() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("deck.drd"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(63, 'x')) == 63 && file.flush());
            QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 5), QTime(14, 7)), QFileDevice::FileModificationTime));
        }
        QFileDialog dialog(nullptr, QStringLiteral("Laden"), dir.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        QTRY_VERIFY(model->index(path).isValid() && model->data(model->index(path).siblingAtColumn(1)).toString() != QString());
        const QModelIndex file = model->index(path);
        QCOMPARE(model->data(file.siblingAtColumn(1)).toString(), QStringLiteral("63 Bytes"));
        QCOMPARE(model->data(file.siblingAtColumn(3)).toString(), QStringLiteral("05.03.26 14:07"));
    }

    void theLocaleIsGermanWhateverTheEnvironmentSays() {
        using Env = QMap<QByteArray, QString>;
        const QString german = QStringLiteral("de_DE.UTF-8");
        const QList<std::pair<Env, QString>> cases{
            {{}, german},
            {{{"LANG", "C.UTF-8"}}, german},
            {{{"LANG", "en_US.UTF-8"}}, german},
            {{{"LANG", "de_AT.UTF-8"}}, QString()},
            {{{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "en_GB.UTF-8"}}, german},
            {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "fr_FR.UTF-8"}}, german},
            {{{"LANG", "C"}, {"LC_ALL", "de_CH.UTF-8"}}, QString()},
            {{{"LC_NUMERIC", "de_DE"}, {"LC_TIME", "de_DE"}, {"LC_MONETARY", "de_DE"}, {"LC_MESSAGES", "de_DE"}, {"LC_MEASUREMENT", "de_DE"}},
             QString()},
        };
        for (const auto& [env, expected] : cases)
            QCOMPARE(core::germanLocaleOverride([&env](const char* name) { return env.value(name); }), expected);
    }

    void typeListNamesEachPatternOnce() {
        QCOMPARE(ui::nameFilters(QStringLiteral("Textdatei (*.txt)|*.txt|Alle Dateien (*.*)|*.*")),
                 (QStringList{"Textdatei (*.txt)", "Alle Dateien (*.*)"}));
        QCOMPARE(ui::nameFilters(QStringLiteral("Bilder|*.png;*.jpg")), QStringList{"Bilder (*.png *.jpg)"});
    }

    void bareNameGetsTheDialogsOwnExtension() {
        QTemporaryDir dir;
        const auto in = [&dir](const QString& name) { return dir.filePath(name); };
        QCOMPARE(typedSaveName(QStringLiteral("txt"), QStringLiteral("Textdatei"), QStringLiteral("liste"), dir.path()),
                 in(QStringLiteral("liste.txt")));
        QCOMPARE(typedSaveName(QStringLiteral("ctd"), QStringLiteral("CardTable-Deck"), QStringLiteral("tisch"), dir.path()),
                 in(QStringLiteral("tisch.ctd")));
        QCOMPARE(typedSaveName(QStringLiteral("drfilter"), QStringLiteral("Dravenna-Filter"), QStringLiteral("frei"), dir.path()),
                 in(QStringLiteral("frei.drfilter")));
        QCOMPARE(typedSaveName(QStringLiteral("drd"), QStringLiteral("Dravenna-Decks"), QStringLiteral("meins"), dir.path()),
                 in(QStringLiteral("meins.drd")));
        // A name with an extension of its own keeps it.
        QCOMPARE(typedSaveName(QStringLiteral("txt"), QStringLiteral("Textdatei"), QStringLiteral("liste.log"), dir.path()),
                 in(QStringLiteral("liste.log")));
    }

    void longErrorTextsAreCut() {
        const QString statement = QStringLiteral("SELECT ") + QString(100000, u'x');
        const QString shown = core::readableDescription(core::AppError(3075, statement));
        QVERIFY(shown.size() < 320);
        QVERIFY(shown.startsWith(QStringLiteral("SELECT xxx")));
        QVERIFY(shown.endsWith(QStringLiteral(" …")));
        QCOMPARE(core::readableDescription(core::AppError(5, QStringLiteral("kurz"))), QStringLiteral("kurz"));
    }
};

// As the program starts: the locale made German before the application exists.
int main(int argc, char** argv) {
    core::makeLocaleGerman();
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TstDialogPrompter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dialogprompter.moc"
