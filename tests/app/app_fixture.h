// SPDX-License-Identifier: GPL-3.0-or-later
// Fakes for the seams between the windows and the world, and a registry
// wired to them.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>
#include <vector>

#include "app/calculation_window.h"
#include "app/look.h"
#include "app/window_registry.h"

namespace veltrane::testing {

// Answers Yes unless told otherwise, and records what was asked.
class FakePrompter : public Prompter {
  public:
    struct Asked {
        QString text;
        QString reportBoxAtAsk;  // the parent's Text1 while the box is up
        bool parentVisible = false;
    };

    bool askYesNo(QWidget* parent, const QString& text) override {
        Asked a{text, {}, parent != nullptr && parent->isVisible()};
        if (auto* w = qobject_cast<CalculationWindow*>(parent)) {
            a.reportBoxAtAsk = w->reportText();
        }
        asked.push_back(a);
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void notice(QWidget*, const QString& title, const QString& text) override {
        notices.push_back(title + QStringLiteral("|") + text);
    }

    std::deque<bool> answers;
    std::vector<Asked> asked;
    std::vector<QString> notices;
};

class FakeExitHook : public ExitHook {
  public:
    void exitNow(int status) override {
        ++calls;
        lastStatus = status;
    }
    int calls = 0;
    int lastStatus = -1;
};

class FakeDetector : public InstanceDetector {
  public:
    bool anotherInstanceRunning() override {
        ++asked;
        return running;
    }
    bool running = false;
    int asked = 0;
};

// Answers every save and open dialog with the next queued path (none: cancelled),
// and records what was asked.
class FakeFileChooser : public FileChooser {
  public:
    QString saveFileName(QWidget*, const QString& caption, const QString& suggested,
                         const QString&) override {
        asked.push_back(caption + QStringLiteral("|") + suggested);
        if (paths.empty()) {
            return {};
        }
        const QString path = paths.front();
        paths.pop_front();
        return path;
    }
    QString openFileName(QWidget*, const QString& caption, const QString&) override {
        asked.push_back(caption);
        if (paths.empty()) {
            return {};
        }
        const QString path = paths.front();
        paths.pop_front();
        return path;
    }
    std::deque<QString> paths;
    std::vector<QString> asked;
};

struct App {
    FakePrompter prompter;
    FakeExitHook exitHook;
    FakeDetector detector;
    FakeFileChooser files;
    WindowRegistry windows{{prompter, exitHook, detector, files}};
};

// The offscreen platform warns at every raise() and resize hint; that says
// nothing about the program.
inline QtMessageHandler previousHandler = nullptr;

inline void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.startsWith(QStringLiteral("This plugin does not support"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, msg);
    }
}

// A modal dialog that no test answers would hang the run until CTest's
// timeout. The watchdog names it and ends the run once it has stood for 10 s.
inline void StartModalWatchdog() {
    static int ticks = 0;
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ticks = modal != nullptr ? ticks + 1 : 0;
        if (ticks >= 20) {
            const auto* box = qobject_cast<QMessageBox*>(modal);
            qFatal("a modal dialog stayed open: %s %s", qPrintable(modal->windowTitle()),
                   qPrintable(box != nullptr ? box->text() : modal->objectName()));
        }
    });
    timer->start(500);
}

inline void InstallLookOnce() {
    static bool done = false;
    if (!done) {
        done = true;
        ui::InstallLook(*qApp);
        previousHandler = qInstallMessageHandler(QuietHandler);
        // Tests click at machine speed, right after a window shows; a test of
        // the double-click guard sets an interval of its own.
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
        StartModalWatchdog();
    }
}

// Top-level windows on screen, message boxes aside.
inline std::vector<QWidget*> VisibleWindows() {
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->isWindow() && qobject_cast<QDialog*>(w) != nullptr) {
            out.push_back(w);
        }
    }
    return out;
}

// Shows a window and waits until it is active, so keys reach its focus.
template <typename Window>
Window& Activated(Window& w) {
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) {
        qWarning("%s did not become active", qPrintable(w.objectName()));
    }
    return w;
}

// Texts of each size, typed here rather than read from the catalogue.
inline QString SizeName(SectionSize size) {
    static const char* const kNames[] = {"U60", "U80", "U100", "U120", "U140"};
    return QString::fromLatin1(kNames[static_cast<int>(size)]);
}

// "显示计算成果： U60形渠道构件。", without the report's trailing blank.
inline QString HeaderText(SectionSize size) {
    return QStringLiteral("显示计算成果： ") + SizeName(size) + QStringLiteral("形渠道构件。");
}

// The report box after the main window opens a size: the header and one blank.
inline QString ReportHeader(SectionSize size) {
    return HeaderText(size) + QStringLiteral(" ");
}

// Text2's default: the section's design discharge, m³/s.
inline QString DefaultDischarge(SectionSize size) {
    static const char* const kTexts[] = {"0.25", "0.4", "0.55", "0.90", "1.20"};
    return QString::fromLatin1(kTexts[static_cast<int>(size)]);
}

// Label2 of a calculation window: "U60形渠道构件".
inline QString SizeLabel(SectionSize size) {
    return SizeName(size) + QStringLiteral("形渠道构件");
}

// The U60 report of the default inputs, the worked example, line for line:
// typed here, never computed.
inline const QStringList kU60DefaultLines = {"显示计算成果： U60形渠道构件。 ",
                                             "校核流量：Q = .25",
                                             "",
                                             "设计水深：h = .516",
                                             "",
                                             "校核水深：h1= .516",
                                             "",
                                             "流    速：V = .904",
                                             "",
                                             "水面宽度：b = .657",
                                             "",
                                             "过水面积：A = .277",
                                             "",
                                             "湿    周：X = 1.376",
                                             "",
                                             "水力半径：R = .201",
                                             "",
                                             "谢才系数：C = 45.034"};

// Opens a size as the main window does, and waits until it has the focus.
inline CalculationWindow& OpenCalculation(App& app, SectionSize size) {
    app.windows.mainWindow();
    app.windows.openCalculationWindow(size);
    return Activated(app.windows.calculationWindow(size));
}

inline void SetInputs(CalculationWindow& w, const QString& q, const QString& x, const QString& n,
                      const QString& k) {
    w.inputBox(InputBox::Text2)->setText(q);
    w.inputBox(InputBox::Text4)->setText(x);
    w.inputBox(InputBox::text6)->setText(n);
    w.inputBox(InputBox::Text7)->setText(k);
}

inline QString U8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace veltrane::testing
