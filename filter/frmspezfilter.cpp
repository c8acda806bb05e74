// The special filter dialog: a condition written by hand, loaded and saved.
#include "filter/frmspezfilter.h"

#include "core/errornumbers.h"
#include "core/programdir.h"
#include "db/database.h"
#include "db/dberror.h"
#include "core/named.h"
#include "filter/filterfile.h"
#include "filter/specialfilter.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace filter {

namespace {

QLabel* label(QWidget* parent, const QString& text, const char* name, bool wrap = false) {
    auto* l = ui::named(new QLabel(text, parent), name);
    l->setWordWrap(wrap);
    return l;
}

QPlainTextEdit* fixedList(QWidget* parent, const QString& text, const char* name) {
    auto* edit = ui::named(new QPlainTextEdit(parent), name);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edit->setPlainText(shown);
    return edit;
}

} // namespace

frmSpezFilter::frmSpezFilter(QWidget* owner, QString& ownerWhere, std::function<void()> quickFiltersChanged)
    : FilterDialog(owner, ownerWhere, std::move(quickFiltersChanged)) {
    setObjectName(QStringLiteral("frmSpezFilter"));
    setWindowTitle(QStringLiteral("Spezial Filter"));
    auto* layout = new QVBoxLayout(this);
    Label1 = label(this,
                   QStringLiteral("Der Spezial-Filter setzt SQL-Kenntnisse voraus. Da die Datenbank zu dem Dravenna Deck-Builder "
                                  "im Format MS Access vorliegt muß folglich auch Access-Konformes SQL verwendet werden; d.h. "
                                  "daß nicht die herkömmlichen SQL-Anweisungen bei Sonderbefehlen funktionieren, sondern Visual "
                                  "Basic Anweisungen, wie zB ISNULL() zur Abfrage von Null-Werten."),
                   "Label1", true);
    Label3 = label(this,
                   QStringLiteral("Der Eintrag im Text-Feld wird direkt in den WHERE-Abschnitt der SQL-Anweisung übertragen. "
                                  "Gültige Angaben beispielsweise:"),
                   "Label3", true);
    layout->addWidget(Label1);
    layout->addWidget(Label3);

    auto* examples = new QGridLayout;
    const char* rows[3][4] = {
        {"Label4", "([StFeuer] >= 3 OR [StErde] >= 3) AND Kartenart = 'Charakter'", "Label7",
         "(Alle Charaktere mit Stärke Feuer oder Erde 3 oder höher)"},
        {"Label5", "[Set] = 'Q' AND [Fraktion] = 'Sivar'", "Label8", "(Alle Karten der Sivar, die in dem Quenta-Standard-Deck sind)"},
        {"Label6", "ISNULL([StErde]) AND ISNULL([StFeuer])", "Label9", "(Alle Karten ohne Stärke-Angaben)"},
    };
    for (int r = 0; r < 3; ++r) {
        examples->addWidget(label(this, QString::fromUtf8(rows[r][1]), rows[r][0]), r, 0);
        examples->addWidget(label(this, QString::fromUtf8(rows[r][3]), rows[r][2]), r, 1);
    }
    layout->addLayout(examples);

    Label2 = label(this, QStringLiteral("Felder:"), "Label2");
    QFont bold = Label2->font();
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    Label2->setFont(bold);
    layout->addWidget(Label2);

    auto* body = new QHBoxLayout;
    Text1 = fixedList(this, specialFilterFields(), "Text1");
    Text2 = fixedList(this, specialFilterTypes(), "Text2");
    Text1->setFixedWidth(150);
    Text2->setFixedWidth(100);
    // Both lists scroll together so that every type stays beside its field.
    connect(Text1->verticalScrollBar(), &QScrollBar::valueChanged, Text2->verticalScrollBar(), &QScrollBar::setValue);
    connect(Text2->verticalScrollBar(), &QScrollBar::valueChanged, Text1->verticalScrollBar(), &QScrollBar::setValue);
    body->addWidget(Text1);
    body->addWidget(Text2);

    auto* right = new QVBoxLayout;
    txtFilter = ui::named(new QPlainTextEdit(this), "txtFilter");
    txtFilter->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    right->addWidget(txtFilter);
    auto* fileButtons = new QHBoxLayout;
    cmdSave = ui::named(new QPushButton(QStringLiteral("Speichern"), this), "cmdSave");
    cmdLoad = ui::named(new QPushButton(QStringLiteral("Laden"), this), "cmdLoad");
    fileButtons->addWidget(cmdSave);
    fileButtons->addWidget(cmdLoad);
    right->addLayout(fileButtons);
    auto* closeButtons = new QHBoxLayout;
    cmdNoFilter = ui::named(new QPushButton(QStringLiteral("Kein Filter"), this), "cmdNoFilter");
    cmdOK = ui::named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    closeButtons->addWidget(cmdNoFilter);
    closeButtons->addWidget(cmdOK);
    right->addLayout(closeButtons);
    body->addLayout(right, 1);
    layout->addLayout(body, 1);
    cmdOK->setDefault(true);
    txtFilter->setFocus();
    resize(620, 520);

    connect(cmdOK, &QPushButton::clicked, this, &frmSpezFilter::applyCondition);
    connect(cmdNoFilter, &QPushButton::clicked, this, [this] {
        where().clear();
        reject();
    });
    connect(cmdSave, &QPushButton::clicked, this,
            [this] { saveFilterLine(QStringLiteral("WHERE ") + txtFilter->toPlainText()); });
    connect(cmdLoad, &QPushButton::clicked, this, &frmSpezFilter::load);
}

void frmSpezFilter::showEvent(QShowEvent* event) {
    // The filter in force, whoever set it, becomes the editable condition. A text too short to
    // start with "WHERE " (only a hand-made file gives one) leaves the box as it is.
    if (where().size() >= 6)
        txtFilter->setPlainText(conditionOf(where()));
    KeptDialog::showEvent(event);
}

void frmSpezFilter::applyCondition() {
    const QString condition = txtFilter->toPlainText();
    if (condition.isEmpty()) {
        keep();
        return;
    }
    try {
        auto conn = db::Database::OpenDatabase(core::databasePath());
        testCondition(*conn, condition);
        conn->Close();
        where() = filterOfCondition(condition);
        keep();
    } catch (const db::DbError& e) {
        core::prompter().message(QStringLiteral("Fehler in Filter-Bedingung:\r\n") + core::readableDescription(e),
                                 QStringLiteral("Spezial-Filter"), core::Icon::Exclamation, core::Buttons::Ok);
    }
}

void frmSpezFilter::load() {
    const QString title = QStringLiteral("Dravenna-Filter laden");
    try {
        prepareFilterDialog(cmdcSaveLoad, title, core::dialogflags::PathMustExist | core::dialogflags::FileMustExist);
        if (!core::prompter().fileDialog(cmdcSaveLoad, false))
            return;
        const auto line = readFilterLine(cmdcSaveLoad.fileName);
        if (!line)
            throw db::DbError(core::errors::kFileNotFound, QStringLiteral("Datei nicht gefunden: %1").arg(cmdcSaveLoad.fileName));
        txtFilter->setPlainText(conditionOf(*line));
        core::prompter().message(QStringLiteral("Der Dravenna-Filter wurde geladen"), QStringLiteral("Dravenna-Filter geladen"),
                                 core::Icon::Information, core::Buttons::Ok);
    } catch (const db::DbError& e) {
        core::showError(title, e);
    }
}

} // namespace filter
