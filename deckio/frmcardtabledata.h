#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QListWidget;
class QPushButton;

namespace deckio {

// Lets the player point at CardTable's card-data file: drive, folder and file; "OK" stores it.
class frmCardTableData : public QDialog {
    Q_OBJECT
public:
    // drives: the drive list's entries (the mounted volumes unless a caller knows better).
    explicit frmCardTableData(QWidget* owner, const QStringList& drives = QStringList());

    QComboBox* Drive1 = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;

    // The folder the file list shows, and its selected file name (empty when none).
    const QString& folder() const { return m_folder; }
    QString fileName() const;
    void setFolder(const QString& folder);

private:
    void onDriveChosen(int index);
    void confirm();

    QStringList m_drives;
    QString m_folder;
};

} // namespace deckio
