#include "vexlodesignerplugin.h"

#include "vexlotaskmenufactory.h"

#include "vexlo/identifiers.h"
#include "vexlo/vexloctrl.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>

namespace vexlo {

VexloDesignerPlugin::VexloDesignerPlugin(QObject *pParent)
    : QObject(pParent)
{ }

QString VexloDesignerPlugin::name() const
{
    return QStringLiteral("vexlo::CVexloCtrl");
}

QString VexloDesignerPlugin::group() const
{
    return QStringLiteral("Vexlo");
}

QString VexloDesignerPlugin::toolTip() const
{
    return QString::fromLatin1(kControlRegisteredName);
}

QString VexloDesignerPlugin::whatsThis() const
{
    return QStringLiteral("The shell path combo control: the desktop, its folders, the "
                          "computer's drives and the path of the current folder in one list, "
                          "with completion of typed paths.");
}

QString VexloDesignerPlugin::includeFile() const
{
    return QStringLiteral("vexlo/vexloctrl.h");
}

QIcon VexloDesignerPlugin::icon() const
{
    return CVexloCtrl::toolboxIcon();
}

bool VexloDesignerPlugin::isContainer() const
{
    return false;
}

QWidget *VexloDesignerPlugin::createWidget(QWidget *pParent)
{
    auto *control = new CVexloCtrl(pParent);
    // Designer makes controls for the form it edits (and, without a parent, for looking at
    // their properties); everything else (a preview, QUiLoader) runs them.
    const bool designing =
        m_core && (!pParent || QDesignerFormWindowInterface::findFormWindow(pParent));
    control->setAmbientUserMode(!designing);
    return control;
}

bool VexloDesignerPlugin::isInitialized() const
{
    return m_core != nullptr;
}

void VexloDesignerPlugin::initialize(QDesignerFormEditorInterface *pCore)
{
    if (m_core)
        return;
    m_core = pCore;
    QExtensionManager *manager = pCore->extensionManager();
    manager->registerExtensions(new VexloTaskMenuFactory(manager),
                                QStringLiteral("org.qt-project.Qt.Designer.TaskMenu"));
}

QString VexloDesignerPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"vexlo::CVexloCtrl\" name=\"vexlo\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>200</width><height>24</height></rect>\n"
                          "  </property>\n"
                          "  <property name=\"toolTip\"><string/></property>\n"
                          " </widget>\n"
                          "</ui>\n");
}

} // namespace vexlo
