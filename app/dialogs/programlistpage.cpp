#include "dialogs/programlistpage.h"

#include "dialogs/editorframe.h"
#include "dialogs/form4.h"
#include "startup/appstate.h"
#include "startup/registry.h"

#include "platform/themeiconcache.h"

#include "txini/clsini.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace pindrel {

namespace {

QIcon arrow(const QWidget &pWidget, const char *pThemeName, QStyle::StandardPixmap pFallback)
{
    const QIcon themed = platform::ThemeIconCache::themed(QString::fromLatin1(pThemeName));
    return themed.isNull() ? pWidget.style()->standardIcon(pFallback) : themed;
}

} // namespace

ProgramListPage::ProgramListPage(AppState &pState, Registry &pRegistry, QWidget *pParent)
    : QWidget(pParent)
    , m_state(pState)
    , m_registry(pRegistry)
    , m_runDialog([](QDialog &pDialog) { pDialog.exec(); })
    , m_confirm([this](const QString &pText) {
        return QMessageBox::question(this, QStringLiteral("Pindrel"), pText,
                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
            == QMessageBox::Ok;
    })
{
    buildControls();
}

ProgramListPage::~ProgramListPage() = default;

void ProgramListPage::buildControls()
{
    m_listP = new QListWidget(this);
    m_listP->setObjectName(QStringLiteral("ListP"));
    m_listP->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listP->installEventFilter(this);

    m_cmdAdd = EditorFrame::button(this, "cmdAdd", QStringLiteral("Add"));
    m_cmdMod = EditorFrame::button(this, "cmdMod", QStringLiteral("Configure"));
    m_cmdDel = EditorFrame::button(this, "cmdDel", QStringLiteral("Delete"));
    m_cmdUp = EditorFrame::button(this, "cmdUp", QString());
    m_cmdUp->setIcon(arrow(*this, "go-up", QStyle::SP_ArrowUp));
    m_cmdUp->setToolTip(tr("Move up"));
    m_cmdUp->setAccessibleName(tr("Move up"));
    m_cmdDown = EditorFrame::button(this, "cmdDown", QString());
    m_cmdDown->setIcon(arrow(*this, "go-down", QStyle::SP_ArrowDown));
    m_cmdDown->setToolTip(tr("Move down"));
    m_cmdDown->setAccessibleName(tr("Move down"));

    auto *moves = new QHBoxLayout;
    moves->addWidget(m_cmdUp);
    moves->addWidget(m_cmdDown);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdAdd);
    buttons->addWidget(m_cmdMod);
    buttons->addWidget(m_cmdDel);
    buttons->addLayout(moves);
    buttons->addStretch(1);
    auto *page = new QHBoxLayout(this);
    page->addWidget(m_listP, 1);
    page->addLayout(buttons);

    connect(m_cmdAdd, &QPushButton::clicked, this, &ProgramListPage::cmdAdd_Click);
    connect(m_cmdMod, &QPushButton::clicked, this, &ProgramListPage::cmdMod_Click);
    connect(m_cmdDel, &QPushButton::clicked, this, &ProgramListPage::cmdDel_Click);
    connect(m_cmdUp, &QPushButton::clicked, this, &ProgramListPage::cmdUp_Click);
    connect(m_cmdDown, &QPushButton::clicked, this, &ProgramListPage::cmdDown_Click);
    connect(m_listP, &QListWidget::itemDoubleClicked, this, &ProgramListPage::cmdMod_Click);
}

void ProgramListPage::setDialogRunner(std::function<void(QDialog &)> pRunner)
{
    if (pRunner)
        m_runDialog = std::move(pRunner);
}

void ProgramListPage::setConfirmation(std::function<bool(const QString &)> pConfirm)
{
    if (pConfirm)
        m_confirm = std::move(pConfirm);
}

void ProgramListPage::refill()
{
    m_listP->clear();
    txini::_clsIni &ini = m_state.ini();
    const int count = m_state.programCount();
    for (int i = 1; i <= count; ++i) {
        auto *row = new QListWidgetItem(
            QString::fromStdString(ini.getLeerValor(Registry::programSection(i), "CAPTION")),
            m_listP);
        row->setData(kProgramRole, i);
    }
}

int ProgramListPage::selectedRow() const
{
    const QList<QListWidgetItem *> selected = m_listP->selectedItems();
    return selected.isEmpty() ? -1 : m_listP->row(selected.constFirst());
}

int16_t ProgramListPage::programOfRow(int pRow) const
{
    const QListWidgetItem *row = m_listP->item(pRow);
    return row == nullptr ? int16_t{0} : static_cast<int16_t>(row->data(kProgramRole).toInt());
}

void ProgramListPage::selectRow(int pRow)
{
    if (pRow >= 0 && pRow < m_listP->count())
        m_listP->setCurrentRow(pRow);
}

void ProgramListPage::openEditor(int16_t pIndex)
{
    Form4 editor(m_state, m_registry, this);
    editor.setFileChooser(m_fileChooser);
    editor.Inicializar(pIndex);
    m_runDialog(editor);
}

void ProgramListPage::cmdAdd_Click()
{
    const int before = m_state.programCount();
    const int row = selectedRow();
    openEditor(0);
    refill();
    if (m_state.programCount() <= 0)
        return;
    if (m_state.programCount() != before)
        selectRow(m_listP->count() - 1);
    else if (row >= 0)
        selectRow(row);
}

void ProgramListPage::cmdMod_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    openEditor(programOfRow(row));
    refill();
    selectRow(row);
}

void ProgramListPage::cmdDel_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (!m_confirm(QStringLiteral("You will delete the selected program. Are you sure?")))
        return;
    m_registry.EliminarPrograma(programOfRow(row), 1);
    refill();
    if (m_listP->count() > 0)
        selectRow(std::min(row, m_listP->count() - 1));
}

void ProgramListPage::cmdUp_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (row == 0) {
        selectRow(row);
        return;
    }
    m_registry.SubirPrograma(programOfRow(row), 1);
    refill();
    selectRow(row - 1);
}

void ProgramListPage::cmdDown_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (row == m_listP->count() - 1) {
        selectRow(row);
        return;
    }
    m_registry.BajarPrograma(programOfRow(row), 1);
    refill();
    selectRow(row + 1);
}

bool ProgramListPage::listKey(int pKey, Qt::KeyboardModifiers pModifiers)
{
    // The arrow keys of the keypad carry the keypad flag: Shift alone is still Shift alone.
    const bool shiftAlone = (pModifiers & ~Qt::KeypadModifier) == Qt::ShiftModifier;
    switch (pKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cmdMod_Click();
        return true;
    case Qt::Key_Up:
        if (!shiftAlone)
            return false;
        cmdUp_Click();
        return true;
    case Qt::Key_Down:
        if (!shiftAlone)
            return false;
        cmdDown_Click();
        return true;
    case Qt::Key_Insert:
        cmdAdd_Click();
        return true;
    case Qt::Key_Delete:
        cmdDel_Click();
        return true;
    default:
        return false;
    }
}

bool ProgramListPage::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched != m_listP)
        return QWidget::eventFilter(pWatched, pEvent);
    switch (pEvent->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(pEvent);
        return listKey(key->key(), key->modifiers());
    }
    case QEvent::FocusIn:
        if (m_defaultButton != nullptr)
            m_defaultButton->setDefault(false);
        break;
    case QEvent::FocusOut:
        if (m_defaultButton != nullptr)
            m_defaultButton->setDefault(true);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

} // namespace pindrel
