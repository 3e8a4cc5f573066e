#include "dialogs/editordialog.h"

#include "dialogs/systemfilechooser.h"

#include <QGridLayout>
#include <QLabel>
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

void EditorDialog::place(std::initializer_list<FieldRow> pRows)
{
    auto *fields = new QGridLayout;
    int row = 0;
    for (const FieldRow &fieldRow : pRows) {
        fields->addWidget(new QLabel(QString::fromLatin1(fieldRow.label), this), row, 0);
        if (fieldRow.button == nullptr) {
            fields->addWidget(fieldRow.field, row, 1, 1, 2);
        } else {
            fields->addWidget(fieldRow.field, row, 1);
            fields->addWidget(fieldRow.button, row, 2);
        }
        ++row;
    }
    m_frame.place(fields);
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
