// SPDX-License-Identifier: GPL-3.0-or-later
// Seams that ask nothing, end nothing and see no other copy: for tools and
// benchmarks that drive the windows without a person in front of them.
#pragma once

#include <QString>

#include "app/seams.h"

namespace veltrane::tools {

class NoPrompts : public Prompter {
  public:
    bool askYesNo(QWidget*, const QString&) override { return true; }
    void notice(QWidget*, const QString&, const QString&) override {}
};

class NoExit : public ExitHook {
  public:
    void exitNow(int) override {}
};

class NoOthers : public InstanceDetector {
  public:
    bool anotherInstanceRunning() override { return false; }
};

class NoFiles : public FileChooser {
  public:
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

}  // namespace veltrane::tools
