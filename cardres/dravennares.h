#pragma once

// The interface of the DravennaRes picture library, shared by the library and its callers.

#include <QImage>
#include <QString>
#include <QVariant>
#include <QtPlugin>

#define DRAVENNARES_MAIN_IID "{43D99E51-B3A0-4F4F-9D43-4EC03ACAF736}"

namespace dravennares {

// Class identifier of class Main, carried in the plugin's metadata under "ClassId".
inline constexpr const char* kMainClassId = "{EFC2AEC8-473B-4A84-90AD-E7DCFD945136}";

} // namespace dravennares

// The default interface of class Main: one picture per request.
class _Main {
public:
    virtual ~_Main() = default;
    // Nummer: the picture id (text), Fraktion: the picture group. Both are matched without regard
    // to case. Returns a null image when the entry does not exist or cannot be decoded.
    virtual QImage GetPicture(const QVariant& Nummer, const QString& Fraktion) = 0;
};

Q_DECLARE_INTERFACE(_Main, DRAVENNARES_MAIN_IID)
