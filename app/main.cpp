// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <iostream>

#include "app/file_export.h"
#include "app/frame_extents.h"
#include "app/information_options.h"
#include "app/instance_lock.h"
#include "app/look.h"
#include "app/message_boxes.h"
#include "app/process_exit.h"
#include "app/termination_signals.h"
#include "app/window_placement.h"
#include "app/window_registry.h"

int main(int argc, char** argv) {
    if (const auto status =
            veltrane::AnswerInformationOptions(argc, argv, std::cout, VELTRANE_VERSION)) {
        std::cout.flush();
        return std::cout ? *status : 3;
    }
    // Docks and Wayland match the window to its launcher by the desktop id.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRANE_APP_ID));
    QApplication app(argc, argv);
    veltrane::ui::InstallLook(app);

    veltrane::QtPrompter prompter;
    veltrane::InstanceLock instances(veltrane::InstanceLock::DefaultFolder());
    veltrane::ProcessExit exitHook([&instances] { instances.release(); });
    veltrane::EndOnTerminationSignals(exitHook);
    veltrane::QtFileChooser files;
    veltrane::WindowRegistry windows({prompter, exitHook, instances, files});

    // The welcome window's load step asks about other copies before it shows.
    veltrane::ui::ShowCentred(&windows.welcome());
    veltrane::AskNotToMove(&windows.welcome());  // frameless: nothing to move it by
    const int status = app.exec();
    instances.release();
    return status;
}
