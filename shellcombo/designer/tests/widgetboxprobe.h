#pragma once

// A Designer plugin for the tests only: when VEXLO_DESIGNER_PROBE names a file, it waits
// until Designer has loaded its widget box and opened the form it was started with, then
// writes there what Designer knows of the path combo (its widget box entry, its widget
// database record, the control on the form and its task menu), opens the control's property
// pages from that task menu as a user would, describes them (and, with
// VEXLO_DESIGNER_PROBE_SHOT, saves a picture of them), and ends Designer.

#include <QtCore/QObject>
#include <QtCore/QStringList>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class QTimer;

class WidgetBoxProbe : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    QString name() const override { return QStringLiteral("WidgetBoxProbe"); }
    QString group() const override { return QStringLiteral("Probe"); }
    QString toolTip() const override { return {}; }
    QString whatsThis() const override { return {}; }
    QString includeFile() const override { return {}; }
    QIcon icon() const override { return {}; }
    bool isContainer() const override { return false; }
    QWidget *createWidget(QWidget *pParent) override;
    bool isInitialized() const override { return m_core != nullptr; }
    void initialize(QDesignerFormEditorInterface *pCore) override;

private:
    void poll();
    bool ready() const;
    void describe();
    void openPages();
    void finish();

    QDesignerFormEditorInterface *m_core = nullptr;
    QTimer *m_timer = nullptr;
    int m_polls = 0;
    QStringList m_lines;
};
