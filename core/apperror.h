#pragma once

#include <QString>
#include <stdexcept>

namespace core {

// A failure with a number and a description, as the message boxes show them; the database,
// the file layer and the windows all report through it.
class AppError : public std::runtime_error {
public:
    AppError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

    int number() const { return m_number; }
    const QString& description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

} // namespace core
