// Loading the picture plugin and asking it for a card's picture.
#include "cardview/picturelibrary.h"

#include "core/programdir.h"
#include "cardres/dravennares.h"

#include <QDir>
#include <QJsonObject>
#include <QPluginLoader>

namespace cardview {

PictureLibrary::PictureLibrary() = default;

PictureLibrary::~PictureLibrary() {
    // The instance belongs to the loader; keep the library mapped until the process ends.
    m_main = nullptr;
}

QString PictureLibrary::findPlugin(const QString& dir) {
    const QFileInfoList candidates = QDir(dir).entryInfoList({QStringLiteral("*.so")}, QDir::Files);
    for (const QFileInfo& file : candidates) {
        QPluginLoader probe(file.absoluteFilePath());
        const QJsonObject meta = probe.metaData().value(QStringLiteral("MetaData")).toObject();
        if (meta.value(QStringLiteral("ClassId")).toString() == QLatin1String(dravennares::kMainClassId))
            return file.absoluteFilePath();
    }
    return QString();
}

bool PictureLibrary::ensureLoaded() {
    if (m_tried)
        return m_main != nullptr;
    m_tried = true;
    const QString path = findPlugin(core::programDirectory());
    if (path.isEmpty()) {
        m_error = QStringLiteral("Die Bildbibliothek DravennaRes wurde im Programmordner nicht gefunden.");
        return false;
    }
    m_loader = std::make_unique<QPluginLoader>(path);
    QObject* instance = m_loader->instance();
    m_main = instance ? qobject_cast<_Main*>(instance) : nullptr;
    if (!m_main) {
        m_error = QStringLiteral("Die Bildbibliothek DravennaRes kann nicht geladen werden: %1").arg(m_loader->errorString());
        return false;
    }
    return true;
}

QImage PictureLibrary::GetPicture(const QString& id, const QString& group) {
    if (!ensureLoaded())
        return QImage();
    return m_main->GetPicture(QVariant(id), group);
}

} // namespace cardview
