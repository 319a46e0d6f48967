// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows need from the world outside them. main() wires in the
// real message boxes, the real process end and the real instance check;
// tests replace them.
#pragma once

class QString;
class QWidget;

namespace veltrane {

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A modal Yes/No box with the stop icon and the caption "Dorvane".
    // Returns true for Yes; the box has no other answer.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // A modal notice with an OK button only and no icon.
    virtual void notice(QWidget* parent, const QString& title, const QString& text) = 0;
};

class ExitHook {
  public:
    virtual ~ExitHook() = default;
    // Ends the program at once. The real hook does not return.
    virtual void exitNow(int status) = 0;
};

class InstanceDetector {
  public:
    virtual ~InstanceDetector() = default;
    // Whether another copy of the program runs for this user.
    virtual bool anotherInstanceRunning() = 0;
};

// Where a companion dialog saves a file. The real one is the system's save
// dialog, which asks before it lets an existing file be chosen.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty text when the user cancels.
    virtual QString saveFileName(QWidget* parent, const QString& caption,
                                 const QString& suggestedName, const QString& filter) = 0;
    // An existing file to read, or an empty text when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
};

struct AppServices {
    Prompter& prompter;
    ExitHook& exitHook;
    InstanceDetector& instances;
    FileChooser& files;
};

}  // namespace veltrane
