#include <QApplication>

#include "instance_lock.h"
#include "look.h"
#include "message_boxes.h"
#include "process_exit.h"
#include "window_registry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    veltrane::ui::InstallLook(app);

    veltrane::QtPrompter prompter;
    veltrane::InstanceLock instances(veltrane::InstanceLock::DefaultFolder());
    veltrane::ProcessExit exitHook([&instances] { instances.release(); });
    veltrane::WindowRegistry windows({prompter, exitHook, instances});

    // The welcome window's load step asks about other copies before it shows.
    veltrane::ui::ShowCentred(&windows.welcome());
    const int status = app.exec();
    instances.release();
    return status;
}
