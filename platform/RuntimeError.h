#pragma once
// An error as the old program raised and re-raised it: a number, the source
// that raised it and a description. Grid errors and the errors that classes
// pass on to their callers are thrown as this.

#include <QByteArray>
#include <QString>
#include <exception>

#include "platform/Services.h"

namespace corvane {

class RuntimeError : public std::exception {
public:
    RuntimeError(long number, const QString& description, const QString& source = AppTitle())
        : Number(number), Source(source), Description(description),
          m_what((QString::number(number) + QLatin1Char(' ') + description).toUtf8())
    {
    }
    const char* what() const noexcept override { return m_what.constData(); }

    long Number;
    QString Source;
    QString Description;

private:
    QByteArray m_what;
};

}  // namespace corvane
