#include "dialogs/editordialog.h"

#include "bar/embeddedresources.h"
#include "dialogs/systemfilechooser.h"

#include <QMessageBox>

namespace pindrel {

EditorDialog::EditorDialog(const QString &pDesignCaption, QWidget *pParent)
    : QDialog(pParent)
{
    ensureEmbeddedResources();
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

FileChooser &EditorDialog::chooser()
{
    if (m_chooser != nullptr)
        return *m_chooser;
    if (!m_systemChooser)
        m_systemChooser = std::make_unique<SystemFileChooser>();
    return *m_systemChooser;
}

} // namespace pindrel
