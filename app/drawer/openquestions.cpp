#include "openquestions.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace pindrel {

namespace {

// A command line is shown at most this long; what is cut is marked.
constexpr int kCommandShown = 300;

QString tr(const char *pText)
{
    return QCoreApplication::translate("pindrel::OpenQuestions", pText);
}

// Text from a file as the question shows it: line breaks and other control characters, which a
// hostile name or command may hold to make the question say something else, become visible
// marks.
QString visible(QString pText)
{
    for (QChar &character : pText) {
        if (character.category() == QChar::Other_Control || character == QChar::LineSeparator
            || character == QChar::ParagraphSeparator)
            character = QChar(0xFFFD);
    }
    return pText;
}

QString visibleName(const QString &pPath)
{
    return visible(QFileInfo(pPath).fileName());
}

// Shows pBox modally and returns the button clicked; nullptr when the box was closed without
// one, or went away with its owner meanwhile (the box is then gone too).
QAbstractButton *ask(QMessageBox *pBox)
{
    QPointer<QMessageBox> box(pBox);
    // The texts carry names and command lines from files: never read as markup.
    box->setTextFormat(Qt::PlainText);
    box->exec();
    if (box.isNull())
        return nullptr;
    QAbstractButton *clicked = box->clickedButton();
    box->deleteLater();
    return clicked;
}

} // namespace

OpenQuestions::~OpenQuestions() = default;

OpenQuestions &OpenQuestions::standard()
{
    static OpenQuestions questions;
    return questions;
}

OpenQuestions::ScriptAnswer OpenQuestions::askAboutScript(QWidget *pParent, const QString &pPath)
{
    auto *box = new QMessageBox(QMessageBox::Question, QStringLiteral("Pindrel"),
                                tr("\u201c%1\u201d is an executable text file.\n\n"
                                   "Do you want to run it, or open it with the default "
                                   "application?")
                                    .arg(visibleName(pPath)),
                                QMessageBox::NoButton, pParent);
    QAbstractButton *run = box->addButton(tr("Run"), QMessageBox::AcceptRole);
    QAbstractButton *open = box->addButton(tr("Open"), QMessageBox::ActionRole);
    QPushButton *cancel = box->addButton(tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(qobject_cast<QPushButton *>(open));
    box->setEscapeButton(cancel);
    const QAbstractButton *clicked = ask(box);
    if (clicked != nullptr && clicked == run)
        return ScriptAnswer::Run;
    if (clicked != nullptr && clicked == open)
        return ScriptAnswer::Open;
    return ScriptAnswer::Cancel;
}

bool OpenQuestions::askAboutLauncher(QWidget *pParent, const QString &pPath, const QString &pReason,
                                     const QString &pCommand)
{
    QString text = tr("\u201c%1\u201d is a launcher that is not marked as trusted: %2.")
                       .arg(visibleName(pPath), pReason);
    if (!pCommand.isEmpty()) {
        QString command = visible(pCommand);
        if (command.size() > kCommandShown)
            command = command.left(kCommandShown) + QChar(0x2026);
        text += tr("\n\nStarting it runs:\n%1").arg(command);
    }
    text += tr("\n\nStart it only if you know where it comes from.");
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Pindrel"), text,
                                QMessageBox::NoButton, pParent);
    QAbstractButton *start = box->addButton(tr("Start"), QMessageBox::AcceptRole);
    QPushButton *cancel = box->addButton(tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    const QAbstractButton *clicked = ask(box);
    return clicked != nullptr && clicked == start;
}

} // namespace pindrel
