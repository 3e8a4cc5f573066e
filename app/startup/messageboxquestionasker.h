#pragma once

// Asks with a modal QMessageBox: question icon, OK (the default button) and Cancel.

#include <QPointer>
#include <QWidget>

#include "startup/questionasker.h"

namespace pindrel {

class MessageBoxQuestionAsker : public QuestionAsker
{
public:
    // pParent owns the box while it is shown; it may be null or go away meanwhile.
    explicit MessageBoxQuestionAsker(QWidget *pParent = nullptr);

    Answer ask(const QString &pTitle, const QString &pText) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace pindrel
