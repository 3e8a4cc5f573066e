#include "startup/messageboxquestionasker.h"

#include <QMessageBox>

namespace pindrel {

MessageBoxQuestionAsker::MessageBoxQuestionAsker(QWidget *pParent)
    : m_parent(pParent)
{ }

QuestionAsker::Answer MessageBoxQuestionAsker::ask(const QString &pTitle, const QString &pText)
{
    const QMessageBox::StandardButton button = QMessageBox::question(
        m_parent.data(), pTitle, pText, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

} // namespace pindrel
