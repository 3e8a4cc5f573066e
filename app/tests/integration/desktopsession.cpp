#include "desktopsession.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace {

// The script gives up by itself after about 15 seconds; this only guards against a hang.
constexpr int kScriptTimeoutMs = 60000;

} // namespace

DesktopSession::DesktopSession()
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder for the session");
        return;
    }
    if (!runScript({QStringLiteral("start"), m_folder.path(), QStringLiteral("--owner"),
                    QString::number(QCoreApplication::applicationPid())}))
        return;
    QFile env(m_folder.filePath(QStringLiteral("env")));
    if (!env.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("the session wrote no env file");
        return;
    }
    const QByteArray line = env.readLine().trimmed();
    if (!line.startsWith("DISPLAY=")) {
        m_error = QStringLiteral("unexpected env file: %1").arg(QString::fromLocal8Bit(line));
        return;
    }
    m_display = QString::fromLocal8Bit(line.mid(8));
}

DesktopSession::~DesktopSession()
{
    if (m_folder.isValid())
        runScript({QStringLiteral("stop"), m_folder.path()});
}

bool DesktopSession::runScript(const QStringList &pArguments)
{
    QProcess script;
    script.setProgram(QStringLiteral(PINDREL_XSESSION_SCRIPT));
    script.setArguments(pArguments);
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start();
    if (!script.waitForFinished(kScriptTimeoutMs) || script.exitStatus() != QProcess::NormalExit
        || script.exitCode() != 0) {
        script.kill();
        script.waitForFinished();
        m_error = QStringLiteral("xsession.sh %1 failed: %2")
                      .arg(pArguments.join(u' '), QString::fromLocal8Bit(script.readAll()));
        return false;
    }
    return true;
}
