// The dialog that picks a CardTable folder and deck.
#include "deckio/frmcardtabledata.h"

#include "core/errornumbers.h"
#include "core/programdir.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "deckio/cardtable.h"
#include "deckio/folderlisting.h"
#include "core/windowplace.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace deckio {

namespace {

constexpr int kFolderRole = Qt::UserRole;

} // namespace

frmCardTableData::frmCardTableData(QWidget* owner, const QStringList& drives)
    : QDialog(owner), m_drives(drives.isEmpty() ? mountedDrives() : drives) {
    setObjectName(QStringLiteral("frmCardTableData"));
    setWindowTitle(QStringLiteral("Position CardTable-Daten"));
    const auto px = [this](int twips) { return ui::twipsToPixels(this, twips); };
    setFixedSize(px(7575), px(4455));

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->addItems(m_drives);
    Drive1->setGeometry(px(120), px(120), px(3615), px(315));
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(px(120), px(480), px(3615), px(3240));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(px(3840), px(120), px(3615), px(3600));
    cmdCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(px(3960), px(3840), px(1695), px(495));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(px(5760), px(3840), px(1695), px(495));
    cmdOK->setDefault(true);
    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, File1);
    setTabOrder(File1, cmdCancel);
    setTabOrder(cmdCancel, cmdOK);

    connect(Drive1, &QComboBox::activated, this, &frmCardTableData::onDriveChosen);
    connect(Dir1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setFolder(item->data(kFolderRole).toString()); });
    connect(File1, &QListWidget::itemDoubleClicked, this, &frmCardTableData::confirm);
    connect(cmdOK, &QPushButton::clicked, this, &frmCardTableData::confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCardTableData::reject);

    // A stored folder that has gone opens its nearest parent, or the program folder.
    const auto s = core::openSettings(QStringLiteral("frmCardTableData"));
    const QString stored = s->value(QStringLiteral("Path"), core::programDirectory()).toString();
    setFolder(existingFolder(stored, core::programDirectory()));
    const QString name = s->value(QStringLiteral("FileName")).toString();
    const QList<QListWidgetItem*> match = File1->findItems(name, Qt::MatchExactly);
    if (!name.isEmpty() && !match.isEmpty())
        File1->setCurrentItem(match.first());
}

QString frmCardTableData::fileName() const {
    const QListWidgetItem* item = File1->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void frmCardTableData::setFolder(const QString& folder) {
    m_folder = folderPath(folder);
    const QString drive = driveOf(m_drives, m_folder);
    {
        const QSignalBlocker block(Drive1);
        Drive1->setCurrentIndex(static_cast<int>(m_drives.indexOf(drive)));
    }
    const FolderListing listing = listFolder(drive, m_folder);
    Dir1->clear();
    // Indented like a tree: each ancestor one step deeper, the subfolders one below the folder.
    const auto add = [this, &drive](const QString& path, int depth) {
        const QString label = path == drive ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, u' ') + label, Dir1);
        item->setData(kFolderRole, path);
    };
    const int depth = static_cast<int>(listing.ancestors.size());
    for (int i = 0; i < depth; ++i)
        add(listing.ancestors[i], i);
    Dir1->setCurrentRow(depth - 1);
    for (const QString& path : listing.subfolders)
        add(path, depth);
    File1->clear();
    File1->addItems(filesIn(m_folder));
    File1->setCurrentRow(-1);
}

void frmCardTableData::onDriveChosen(int index) {
    const QString drive = m_drives.value(index);
    const DriveProblem problem = driveProblem(drive);
    if (problem.number == core::errors::kDeviceUnavailable) {
        core::prompter().message(QStringLiteral("Das Laufwerk steht nicht zur Verfügung."), QStringLiteral("Laufwerk auswählen"),
                                 core::Icon::Exclamation, core::Buttons::Ok);
        // The file system's root stands in for the first fixed drive.
        setFolder(QDir::rootPath());
        return;
    }
    if (problem.number != 0) {
        core::prompter().message(QStringLiteral("Fehler %1\r\n%2").arg(problem.number).arg(problem.description),
                                 QStringLiteral("Fehler!"), core::Icon::Critical, core::Buttons::Ok);
        // The lists stay as they were, and so does the drive they belong to.
        const QSignalBlocker block(Drive1);
        Drive1->setCurrentIndex(static_cast<int>(m_drives.indexOf(driveOf(m_drives, m_folder))));
        return;
    }
    setFolder(drive);
}

void frmCardTableData::confirm() {
    const QString name = fileName();
    if (name.isEmpty()) {
        core::prompter().message(QStringLiteral("Es ist keine Datei ausgewählt. Bitte die CardTable-Daten auswählen."),
                                 QStringLiteral("CardTable-Daten auswählen"), core::Icon::Exclamation, core::Buttons::Ok);
        return;
    }
    storeCardTableLocation({m_folder, name});
    accept();
}

} // namespace deckio
