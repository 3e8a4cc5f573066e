// Pindrel: a bar of drawer buttons docked at the screen's edge.

#include "bar/form1.h"
#include "dialogs/qtopenfiledialog.h"
#include "startup/appstate.h"
#include "startup/quitsignals.h"
#include "startup/startupwarmup.h"

#include "platform/themeiconcache.h"

#include "txini/openfiledialog.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pindrel"));
    QApplication::setQuitOnLastWindowClosed(false);
    const pindrel::StartupWarmup warmup;
    // Before any icon is made: a desktop without a platform theme of its own still has one.
    pindrel::platform::ThemeIconCache::adoptDesktopTheme();
    // The INI store's open-file dialog asks through Qt's.
    txini::installOpenFileDialog(std::make_shared<pindrel::QtOpenFileDialog>());

    pindrel::AppState state;
    pindrel::Form1 bar(state);
    if (!bar.Form_Load())
        return 0; // another copy runs and was brought to the front

    pindrel::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &pindrel::QuitSignals::received, &bar,
                     &pindrel::Form1::mCCerrar_Click);
    return QApplication::exec();
}
