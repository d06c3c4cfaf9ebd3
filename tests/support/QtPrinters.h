#pragma once

// Lets GoogleTest print Qt's text types as text instead of as bytes of an object.
// Every test file gets this header first (see tests/CMakeLists.txt).

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

#include <gtest/gtest-printers.h>

#include <ostream>

inline void PrintTo(QStringView text, std::ostream *os)
{
    *os << '"' << text.toUtf8().toStdString() << '"';
}

inline void PrintTo(const QString &text, std::ostream *os)
{
    PrintTo(QStringView(text), os);
}

inline void PrintTo(QChar c, std::ostream *os)
{
    const QString code = QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper();
    *os << '\'' << QString(c).toUtf8().toStdString() << "' (U+" << code.toStdString() << ')';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    // Bytes may be binary: printed escaped, as GoogleTest prints a std::string.
    *os << "QByteArray(";
    ::testing::internal::UniversalPrint(bytes.toStdString(), os);
    *os << ')';
}
