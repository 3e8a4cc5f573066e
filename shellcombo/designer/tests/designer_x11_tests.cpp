// Qt Designer itself finds the control: started on a virtual desktop with the installed plugin
// on its plugin path and a form that holds the control, it lists the control in its widget box
// and opens its property pages from the control's task menu. A probe plugin of the tests
// reports what Designer shows (widgetboxprobe.h).

#include "xsession.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList probeLines(const QString &pFile)
{
    QFile file(pFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(Designer, ListsTheControlAndOpensItsPropertyPages)
{
    ASSERT_TRUE(QFileInfo(QStringLiteral(VEXLO_DESIGNER)).isExecutable())
        << "no Qt Designer at " VEXLO_DESIGNER;
    XSession session(XSession::Kind::Desktop);
    ASSERT_TRUE(session.isRunning()) << session.error().toStdString();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString report = home.filePath(QStringLiteral("probe.txt"));
    const QString picture = QDir::current().absoluteFilePath(QStringLiteral("propertypages.png"));
    QFile::remove(picture);

    QProcess designer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), session.display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // A user of its own, so that no settings or plugins of the machine's users take part.
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"),
                       QStringLiteral(VEXLO_INSTALLED_PLUGINS ":" VEXLO_PROBE_PLUGINS));
    // The installed plugin finds the control's library where this build keeps it.
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"), QStringLiteral(VEXLO_LIBRARY_DIR));
    environment.insert(QStringLiteral("VEXLO_DESIGNER_PROBE"), report);
    environment.insert(QStringLiteral("VEXLO_DESIGNER_PROBE_SHOT"), picture);
    designer.setProcessEnvironment(environment);
    designer.setProcessChannelMode(QProcess::ForwardedChannels);
    designer.start(QStringLiteral(VEXLO_DESIGNER), {QStringLiteral(VEXLO_PATHFORM_UI)});
    ASSERT_TRUE(designer.waitForStarted(10000));
    const bool ended = designer.waitForFinished(60000);
    if (!ended) {
        designer.kill();
        designer.waitForFinished(5000);
    }
    const QStringList lines = probeLines(report);
    ASSERT_FALSE(lines.isEmpty()) << "Designer wrote no report";

    const QStringList expected = {
        QStringLiteral("widgetbox\tVexlo\tvexlo::CVexloCtrl"),
        QStringLiteral("group\tVexlo"),
        QStringLiteral("tooltip\tOrnalis Vexlo ActiveX Control 7.0"),
        QStringLiteral("include\tvexlo/vexloctrl.h"),
        QStringLiteral("icon\tdrawn"),
        QStringLiteral("custom\tyes"),
        QStringLiteral("control\tfolder\tdesign time"),
        QStringLiteral("DropDownLines\t12"),
        QStringLiteral("taskmenu\tVexlo &Properties..."),
        QStringLiteral("taskmenu\t&About Vexlo Control..."),
        QStringLiteral("pages\tVexlo Properties"),
        QStringLiteral("page\tGeneral"),
        QStringLiteral("page\tFont"),
    };
    for (const QString &line : expected)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\nin:\n"
                                          << lines.join(u'\n').toStdString();
    EXPECT_TRUE(QFileInfo(picture).size() > 0);
    EXPECT_TRUE(ended) << "Designer did not end after the probe";
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
