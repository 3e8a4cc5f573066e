#pragma once

// "Start Pindrel when I log in": the desktop's autostart entry for this program,
// pindrel.desktop in the user's autostart folder ($XDG_CONFIG_HOME/autostart, by default
// ~/.config/autostart), which the session starts at every login. The entry's presence is the
// setting; config.ini does not hold it.
//
// The entry starts the program file by its absolute path, quoted as an Exec argument of a
// desktop entry: in double quotes, with '"', '`', '$' and '\' escaped by a backslash, then
// escaped as a string value of the file ('\' doubled, control characters as \n, \t, \r). A
// path that is not valid UTF-8, or one with a '%', cannot be written so that the session
// starts it (see isWritable): enabling fails and nothing is written.

#include <QString>

namespace pindrel {

class AutostartEntry
{
public:
    // The user's autostart folder and the running program.
    AutostartEntry();
    // The entry in pFolder, starting pProgram (an absolute path).
    AutostartEntry(QString pFolder, QString pProgram);

    QString filePath() const;
    const QString &program() const { return m_program; }

    // Whether the entry exists.
    bool isEnabled() const;
    // Writes the entry (the folder made when needed; the file replaced as a whole, never left
    // half written) or removes it. False when that failed; a missing entry removed is success.
    bool setEnabled(bool pEnabled) const;

    // The Exec value that starts pProgram, as it stands in the file.
    static QString execValue(const QString &pProgram);
    // Whether an entry can start pProgram.
    static bool isWritable(const QString &pProgram);

private:
    QString m_folder;
    QString m_program;
};

} // namespace pindrel
