// German texts for the system errors a file operation can meet.
#include "core/systemerror.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <cerrno>

namespace core {

QString systemErrorText(int error) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("Die Datei oder der Ordner existiert nicht.");
    case EACCES:
        return QStringLiteral("Zugriff verweigert.");
    case EPERM:
        return QStringLiteral("Der Vorgang ist nicht erlaubt.");
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz frei.");
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EEXIST:
        return QStringLiteral("Die Datei existiert bereits.");
    case EFBIG:
        return QStringLiteral("Die Datei überschreitet die erlaubte Dateigröße.");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler auf dem Datenträger.");
    case ELOOP:
        return QStringLiteral("Der Pfad enthält zu viele symbolische Verknüpfungen.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Datei- oder Pfadname ist zu lang.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    case EPIPE:
        return QStringLiteral("Der Empfänger liest nicht mehr.");
    default:
        return QStringLiteral("Systemfehler %1.").arg(error);
    }
}

QString fileErrorText(const QFileDevice& file) {
    // Qt words a system error as qt_error_string(errno) words it; that finds the number again.
    const QString said = file.errorString();
    for (int error = 1; error < 256; ++error)
        if (said == qt_error_string(error))
            return systemErrorText(error);
    // Opening a folder for reading succeeds at the system; Qt refuses it in words of its own.
    if (said == QCoreApplication::translate("QIODevice", "file to open is a directory"))
        return systemErrorText(EISDIR);
    switch (file.error()) {
    case QFileDevice::NoError:
        return {};
    case QFileDevice::ReadError:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case QFileDevice::WriteError:
        return QStringLiteral("Die Datei kann nicht geschrieben werden.");
    case QFileDevice::OpenError:
        return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case QFileDevice::ResourceError:
        return systemErrorText(EMFILE);
    default:
        return QStringLiteral("Fehler beim Dateizugriff.");
    }
}

} // namespace core
