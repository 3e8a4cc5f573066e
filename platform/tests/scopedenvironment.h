#pragma once

// Environment variables set for the life of one object, then put back as they were.

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <vector>

class ScopedEnvironment
{
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

    ~ScopedEnvironment()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->wasSet)
                qputenv(it->name.constData(), it->value);
            else
                qunsetenv(it->name.constData());
        }
    }

    void set(const char *pName, const QString &pValue)
    {
        m_saved.push_back({pName, qgetenv(pName), qEnvironmentVariableIsSet(pName)});
        qputenv(pName, pValue.toLocal8Bit());
    }

private:
    struct Saved
    {
        QByteArray name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Saved> m_saved;
};
