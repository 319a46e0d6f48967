// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper: one "copy of the program" as far as instance detection goes.
//   instance_probe FOLDER
// Prints "another=1" or "another=0", then holds its lock until a line (or
// the end) arrives on standard input.
#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

#include "app/instance_lock.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    veltrane::InstanceLock lock(QString::fromLocal8Bit(argv[1]));
    std::printf("another=%d\n", lock.anotherInstanceRunning() ? 1 : 0);
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    lock.release();
    return 0;
}
