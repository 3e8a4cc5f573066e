#include "dialogs/editordialog.h"

#include "dialogs/systemfilechooser.h"

#include <QLineEdit>
#include <QMessageBox>

namespace pindrel {

EditorDialog::EditorDialog(AppState &pState, Registry &pRegistry, const QString &pDesignCaption,
                           QWidget *pParent)
    : QDialog(pParent)
    , m_state(pState)
    , m_registry(pRegistry)
    , m_frame(this, pDesignCaption)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(pDesignCaption);
    m_showExclamation = [this](const QString &pText) {
        QMessageBox::warning(this, QStringLiteral("Pindrel"), pText);
    };
}

EditorDialog::~EditorDialog() = default;

void EditorDialog::setFileChooser(FileChooser *pChooser)
{
    m_chooser = pChooser;
}

void EditorDialog::setExclamation(std::function<void(const QString &)> pShow)
{
    if (pShow)
        m_showExclamation = std::move(pShow);
}

QLineEdit *EditorDialog::field(const char *pName)
{
    auto *line = new QLineEdit(this);
    line->setObjectName(QString::fromLatin1(pName));
    line->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    return line;
}

void EditorDialog::showMode(bool pConfigure, const QString &pCaption)
{
    EditorFrame::showMode(m_frame.imgAdd, m_frame.imgMod, m_frame.lbltitulo, pConfigure, pCaption);
    setWindowTitle(pCaption);
}

FileChooser &EditorDialog::chooser()
{
    if (m_chooser != nullptr)
        return *m_chooser;
    if (!m_systemChooser)
        m_systemChooser = std::make_unique<SystemFileChooser>();
    return *m_systemChooser;
}

} // namespace pindrel
