#pragma once

// A folder of icon themes made for one test; puts Qt's theme name and search paths back when
// it goes.

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStringList>
#include <QtCore/QTemporaryDir>
#include <QtGui/QIcon>
#include <QtGui/QImage>

class ThemeSandbox
{
public:
    ThemeSandbox()
        : m_savedPaths(QIcon::themeSearchPaths())
        , m_savedTheme(QIcon::themeName())
    {
        QIcon::setThemeSearchPaths({m_folder.path()});
    }
    ~ThemeSandbox()
    {
        QIcon::setThemeSearchPaths(m_savedPaths);
        QIcon::setThemeName(m_savedTheme);
    }
    ThemeSandbox(const ThemeSandbox &) = delete;
    ThemeSandbox &operator=(const ThemeSandbox &) = delete;

    bool addTheme(const QString &pName, const QStringList &pIcons)
    {
        const QString root = m_folder.filePath(pName);
        if (!QDir().mkpath(root + QStringLiteral("/16x16")))
            return false;
        QFile index(root + QStringLiteral("/index.theme"));
        if (!index.open(QIODevice::WriteOnly))
            return false;
        index.write("[Icon Theme]\nName=" + pName.toUtf8()
                    + "\nDirectories=16x16\n\n[16x16]\nSize=16\nType=Fixed\n");
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        for (const QString &icon : pIcons) {
            if (!image.save(root + QStringLiteral("/16x16/") + icon + QStringLiteral(".png")))
                return false;
        }
        return true;
    }

    QString path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    QStringList m_savedPaths;
    QString m_savedTheme;
};
