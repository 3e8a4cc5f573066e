#pragma once

// The control as Qt Designer knows it: its widget box entry (group "Vexlo", the registered
// name as tooltip, the toolbox picture, the header to include) and, once Designer initialises
// the plugin, the task menu that opens the property page.
//
// A control made for a form being designed is at design time (no tooltip, no following the
// file system); one made for a preview, or by QUiLoader in a program, is at run time.

#include <QtCore/QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace vexlo {

class VexloDesignerPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface" FILE
                          "vexlodesigner.json")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit VexloDesignerPlugin(QObject *pParent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget *createWidget(QWidget *pParent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *pCore) override;
    QString domXml() const override;

private:
    QDesignerFormEditorInterface *m_core = nullptr;
};

} // namespace vexlo
