#include "dialogs/editorframe.h"

#include "bar/embeddedresources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pindrel {

namespace {

QLabel *picture(QWidget *pParent, const char *pName, const QString &pFile)
{
    ensureEmbeddedResources();
    auto *label = new QLabel(pParent);
    label->setObjectName(QString::fromLatin1(pName));
    label->setPixmap(QPixmap(pFile));
    return label;
}

} // namespace

EditorFrame::EditorFrame(QWidget *pDialog, const QString &pCaption)
    : dialog(pDialog)
    , imgAdd(picture(pDialog, "imgAdd", QStringLiteral(":/dialogs/imgAdd.png")))
    , imgMod(picture(pDialog, "imgMod", QStringLiteral(":/dialogs/imgMod.png")))
    , lbltitulo(new QLabel(pCaption, pDialog))
    , cmdAceptar(button(pDialog, "cmdAceptar", QStringLiteral("Ok")))
    , cmdCancelar(button(pDialog, "cmdCancelar", QStringLiteral("Cancel")))
{
    imgMod->hide();
    lbltitulo->setObjectName(QStringLiteral("lbltitulo"));
    QFont heading = lbltitulo->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    lbltitulo->setFont(heading);
    cmdAceptar->setDefault(true);
}

QPushButton *EditorFrame::button(QWidget *pParent, const char *pName, const QString &pCaption)
{
    auto *button = new QPushButton(pCaption, pParent);
    button->setObjectName(QString::fromLatin1(pName));
    button->setAutoDefault(false);
    return button;
}

void EditorFrame::place(QLayout *pFields) const
{
    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(imgAdd);
    headingRow->addWidget(imgMod);
    headingRow->addWidget(lbltitulo, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdAceptar);
    buttons->addWidget(cmdCancelar);

    auto *page = new QVBoxLayout(dialog);
    page->addLayout(headingRow);
    page->addLayout(pFields);
    page->addLayout(buttons);
    page->setSizeConstraint(QLayout::SetFixedSize);
}

void EditorFrame::showMode(QLabel *pImgAdd, QLabel *pImgMod, QLabel *pLbltitulo, bool pConfigure,
                           const QString &pCaption)
{
    pImgAdd->setVisible(!pConfigure);
    pImgMod->setVisible(pConfigure);
    (pConfigure ? pImgMod : pImgAdd)->raise();
    pLbltitulo->setText(pCaption);
}

} // namespace pindrel
