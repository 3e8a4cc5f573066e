// Copies its first argument into the folder given as its second with a CopyJob and says
// "copying" on standard output once the first bytes have gone, so that a test can kill it in the
// middle of the copy.

#include "platform/copyjob.h"

#include <QtCore/QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    pindrel::platform::CopyJob job({QString::fromLocal8Bit(argv[1])},
                                   QString::fromLocal8Bit(argv[2]),
                                   pindrel::platform::TransferMode::Copy);
    bool told = false;
    QObject::connect(&job, &pindrel::platform::CopyJob::progressChanged,
                     [&](const pindrel::platform::TransferProgress &pProgress) {
                         if (!told && pProgress.bytesDone > 0) {
                             told = true;
                             std::puts("copying");
                             std::fflush(stdout);
                         }
                     });
    QObject::connect(&job, &pindrel::platform::CopyJob::finished, &application,
                     &QCoreApplication::quit);
    job.start();
    return application.exec();
}
