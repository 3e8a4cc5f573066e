#include "xsession.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtCore/QProcess>

namespace {

// The script gives up by itself after about 15 seconds; this only guards against a hang.
constexpr int scriptTimeoutMs = 60000;

} // namespace

XSession::XSession(Kind pKind, const QStringList &pOptions)
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    // The session ends with this process even if the test crashes before the destructor runs.
    QStringList arguments{QStringLiteral("start"), m_folder.path(), QStringLiteral("--owner"),
                          QString::number(QCoreApplication::applicationPid())};
    if (pKind == Kind::BareServer)
        arguments << QStringLiteral("--bare");
    arguments << pOptions;
    if (!runScript(arguments))
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

XSession::~XSession()
{
    if (m_folder.isValid())
        runScript({QStringLiteral("stop"), m_folder.path()});
}

bool XSession::runScript(const QStringList &pArguments)
{
    QProcess script;
    script.setProgram(QStringLiteral(PINDREL_XSESSION_SCRIPT));
    script.setArguments(pArguments);
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start();
    if (!script.waitForFinished(scriptTimeoutMs) || script.exitStatus() != QProcess::NormalExit
        || script.exitCode() != 0) {
        script.kill();
        script.waitForFinished();
        m_error = QStringLiteral("xsession.sh %1 failed: %2")
                      .arg(pArguments.join(u' '), QString::fromLocal8Bit(script.readAll()));
        return false;
    }
    return true;
}
