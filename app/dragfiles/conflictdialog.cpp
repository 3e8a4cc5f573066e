#include "dragfiles/conflictdialog.h"

#include "platform/filenamecodec.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace pindrel {

namespace {

QString nameOf(const QString &pPath)
{
    return platform::displayFileName(pPath.mid(pPath.lastIndexOf(u'/') + 1));
}

// "12.4 KB, modified 3 May 2026 10:15" of a file; a folder only by its time.
QString describe(const QString &pPath, bool pFolder)
{
    const QFileInfo info(QFile::decodeName(platform::encodeFileName(pPath)));
    const QLocale locale;
    const QString modified = locale.toString(info.lastModified(), QLocale::ShortFormat);
    if (pFolder)
        return QStringLiteral("Folder, modified %1").arg(modified);
    return QStringLiteral("%1, modified %2").arg(locale.formattedDataSize(info.size()), modified);
}

} // namespace

ConflictDialog::ConflictDialog(const platform::TransferConflict &pConflict,
                               platform::TransferMode pMode, QWidget *pParent)
    : QDialog(pParent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Pindrel"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QString name = nameOf(pConflict.target);
    const QString folder =
        platform::displayFileName(pConflict.target.left(pConflict.target.lastIndexOf(u'/')));
    auto *icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(side, side));
    auto *question = new QLabel(this);
    question->setObjectName(QStringLiteral("question"));
    question->setWordWrap(true);
    question->setText(
        QStringLiteral("<b>%1 named \"%2\" is already in \"%3\".</b><br>Do you want to replace "
                       "it with the one you are %4?")
            .arg(pConflict.targetIsFolder ? QStringLiteral("A folder") : QStringLiteral("A file"),
                 name.toHtmlEscaped(), folder.toHtmlEscaped(),
                 pMode == platform::TransferMode::Move ? QStringLiteral("moving")
                                                       : QStringLiteral("copying")));
    auto *details = new QLabel(this);
    details->setObjectName(QStringLiteral("details"));
    details->setText(QStringLiteral("Existing: %1\nNew: %2")
                         .arg(describe(pConflict.target, pConflict.targetIsFolder),
                              describe(pConflict.source, pConflict.sourceIsFolder)));
    m_applyToAll = new QCheckBox(QStringLiteral("Apply to all"), this);
    m_applyToAll->setObjectName(QStringLiteral("applyToAll"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto addButton = [&](const char *pName, const QString &pText,
                               platform::ConflictChoice pChoice) {
        auto *button = new QPushButton(pText, this);
        button->setObjectName(QString::fromLatin1(pName));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, pChoice] { answer(pChoice); });
        buttons->addWidget(button);
        return button;
    };
    addButton("replace", QStringLiteral("Replace"), platform::ConflictChoice::Replace);
    addButton("skip", QStringLiteral("Skip"), platform::ConflictChoice::Skip)->setDefault(true);
    addButton("keepBoth", QStringLiteral("Keep both"), platform::ConflictChoice::KeepBoth)
        ->setToolTip(QStringLiteral("Keep the existing item and name the new one \"%1\"")
                         .arg(platform::displayFileName(pConflict.keepBothName)));
    addButton("cancel", QStringLiteral("Cancel"), platform::ConflictChoice::Cancel);

    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->addWidget(question);
    texts->addWidget(details);
    texts->addWidget(m_applyToAll);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

ConflictDialog::~ConflictDialog() = default;

QPushButton *ConflictDialog::button(const QString &pName) const
{
    return findChild<QPushButton *>(pName);
}

void ConflictDialog::answer(platform::ConflictChoice pChoice)
{
    if (m_answered)
        return;
    m_answered = true;
    emit answered(pChoice, m_applyToAll->isChecked());
    close();
}

void ConflictDialog::reject()
{
    answer(platform::ConflictChoice::Cancel);
    QDialog::reject();
}

void ConflictDialog::closeEvent(QCloseEvent *pEvent)
{
    answer(platform::ConflictChoice::Cancel);
    QDialog::closeEvent(pEvent);
}

} // namespace pindrel
