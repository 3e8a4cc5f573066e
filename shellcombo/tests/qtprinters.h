#pragma once

// Readable failure messages for Qt text types.

#include <QtCore/QDebug>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

#include <ostream>

inline void PrintTo(const QString &pText, std::ostream *pStream)
{
    *pStream << '"' << pText.toStdString() << '"';
}

inline void PrintTo(const QStringList &pTexts, std::ostream *pStream)
{
    *pStream << "{ ";
    for (const QString &text : pTexts)
        *pStream << '"' << text.toStdString() << "\" ";
    *pStream << '}';
}

inline void PrintTo(const QVariant &pValue, std::ostream *pStream)
{
    QString text;
    QDebug(&text) << pValue;
    *pStream << text.toStdString();
}
