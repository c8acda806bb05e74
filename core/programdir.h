#pragma once

#include <QString>
#include <QStringList>

namespace core {

// The folder the program runs from: the executable's, unless a test has pointed it elsewhere.
QString programDirectory();
void setProgramDirectory(const QString& path);

// The per-user data folder in use when the program folder is read-only; empty otherwise.
void setPerUserDirectory(const QString& path);

// The card database: in the per-user folder when there is one, else in the program folder.
QString databasePath();

// Where the player's own files go and where the filter dialogs start: the per-user folder when
// there is one, else the program folder.
QString userFilesDirectory();

// Where the deck, deck-list and CardTable dialogs start: the program folder, or the home folder
// when the program folder is read-only (the per-user folder is hidden from file managers).
QString deckFilesDirectory();

// The folders whose filter files the quick-filter list offers, the player's own first.
QStringList filterDirectories();

// dir joined with name, with one separator between them whether or not dir ends with one.
QString joinPath(const QString& dir, const QString& name);

} // namespace core
