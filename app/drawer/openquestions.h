#pragma once

// The questions the drawer's file list asks before it starts a file that may not be meant to
// run, as message boxes titled "Pindrel". The standard object asks the user; tests put scripted
// answers in its place (FileList::setOpenQuestions).
//
// A question whose owner window goes away while it is up ends as Cancel: nothing is started.

#include <QString>

class QWidget;

namespace pindrel {

class OpenQuestions
{
public:
    enum class ScriptAnswer { Run, Open, Cancel };

    OpenQuestions() = default;
    virtual ~OpenQuestions();
    OpenQuestions(const OpenQuestions &) = delete;
    OpenQuestions &operator=(const OpenQuestions &) = delete;

    // pPath is an executable text file (a script): run it, open it with the default
    // application, or leave it. "Open" is the default button.
    virtual ScriptAnswer askAboutScript(QWidget *pParent, const QString &pPath);

    // pPath is a desktop launcher that is not marked as trusted; pReason says why ("it is not
    // executable", ...), pCommand is what it would run (may be empty). True: start it. "Cancel"
    // is the default button.
    virtual bool askAboutLauncher(QWidget *pParent, const QString &pPath, const QString &pReason,
                                  const QString &pCommand);

    // The object that asks the user. It holds no state, so it outlives any window.
    static OpenQuestions &standard();
};

} // namespace pindrel
