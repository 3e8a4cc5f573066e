// A second program for the single-instance tests: run with a key, it either becomes the first
// copy (prints "first", then "activated" and ends when another copy asks it to come forward)
// or, as a later copy, asks the first one and prints "second delivered" or
// "second undelivered".

#include "platform/singleinstance.h"

#include <QtCore/QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: platform_singleinstance_probe KEY\n", stderr);
        return 2;
    }
    pindrel::platform::SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    if (!instance.isFirst()) {
        const bool delivered = instance.notifyFirst();
        std::puts(delivered ? "second delivered" : "second undelivered");
        return delivered ? 0 : 3;
    }
    QObject::connect(&instance, &pindrel::platform::SingleInstance::activationRequested, &app, [] {
        std::puts("activated");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    std::puts("first");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
