#pragma once

#include <QImage>
#include <QString>
#include <memory>

class QPluginLoader;
class _Main;

namespace cardview {

// The card picture library, found in the program folder by its class identifier and created the
// first time a picture is needed; kept until the program ends.
class PictureLibrary {
public:
    PictureLibrary();
    ~PictureLibrary();

    // Loads the library if not yet done; false (with the reason in error()) when there is none.
    bool ensureLoaded();
    const QString& error() const { return m_error; }
    // GetPicture(id, group); a null image when the entry is missing or the library is not there.
    QImage GetPicture(const QString& id, const QString& group);

    // Path of the plugin in dir whose metadata carries the class identifier; empty if none.
    static QString findPlugin(const QString& dir);

private:
    std::unique_ptr<QPluginLoader> m_loader;
    _Main* m_main = nullptr;
    bool m_tried = false;
    QString m_error;
};

} // namespace cardview
