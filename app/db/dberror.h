#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// An engine failure: number and description, as the message boxes show them.
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

    int number() const { return m_number; }
    const QString& description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

} // namespace db
