#pragma once

#include <QString>

namespace ui {

// Gives a new control the object name that tests and style sheets find it by.
template <typename Object>
Object* named(Object* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace ui
