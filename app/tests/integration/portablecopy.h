#pragma once

// A private, portable copy of the program for one test: a temporary folder holding
// bin/pindrel, bin/background/ and lib/ (a link to the build's libraries, which the program
// finds through its $ORIGIN/../lib run path). The program keeps config.ini and its single
// instance beside itself, so every copy starts from a clean slate and copies never meet.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QProcess;

class PortableCopy
{
public:
    // Builds the copy from the program and the libraries of this build.
    PortableCopy();
    ~PortableCopy();

    PortableCopy(const PortableCopy &) = delete;
    PortableCopy &operator=(const PortableCopy &) = delete;

    // False, with error() saying why, when the copy could not be made.
    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    QString programFolder() const;
    QString programFile() const;
    QString configFile() const;

    bool writeConfig(const QByteArray &pContent) const;
    // The bytes of config.ini; empty when it cannot be read.
    QByteArray readConfig() const;

    // Every file and folder under the program folder (hidden ones too), relative, sorted.
    QStringList programFolderListing() const;

    // Starts the program of the copy with the environment of this process; its output is
    // collected, for the messages of failing checks.
    std::unique_ptr<QProcess> start() const;

private:
    QTemporaryDir m_root;
    QString m_error;
};
