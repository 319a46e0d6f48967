// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "app/line_widget.h"
#include "app/window_placement.h"
#include "tests/app/app_fixture.h"

using namespace veltrane;
using namespace veltrane::testing;

namespace {

WelcomeWindow& ShowWelcome(App& app) {
    ui::ShowCentred(&app.windows.welcome());
    return Activated(app.windows.welcome());
}

QPushButton* Button(QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(name);
}

}  // namespace

class WelcomeTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }

    void layout_data();
    void layout();
    void frameless();
    void noticeWhenAnotherCopyRuns_data();
    void noticeWhenAnotherCopyRuns();
    void loadRunsOnce();
    void enterContinues();
    void enterOnExitEnds();
    void tabMovesAVisibleFocusMark();
    void escapeEnds();
    void closingEnds();
    void continueShowsMainBeforeHiding();
};

void WelcomeTest::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<double>("pt");
    const QColor magenta(255, 0, 255), darkBlue(0, 0, 192), blue(0, 0, 255);
    QTest::newRow("title") << "Label1"
                           << "欢迎进入Veltrane程序" << magenta << 12.0;
    QTest::newRow("version") << "Label9"
                             << "版本：V1.0" << magenta << 9.0;
    QTest::newRow("name") << "Label4"
                          << "装配式U形渠道" << magenta << 10.5;
    QTest::newRow("institute") << "Label5"
                               << "Korlund" << darkBlue << 9.0;
    QTest::newRow("department") << "Label6"
                                << "Dorvane" << darkBlue << 9.0;
    QTest::newRow("author") << "Label2"
                            << "Tamsor" << blue << 9.0;
    QTest::newRow("date") << "Label7"
                          << "时间：2003年12月" << blue << 9.0;
    QTest::newRow("merits 1") << "Label3"
                              << "     U形渠道优点：整齐美观、水力条件好、接" << blue << 9.0;
    QTest::newRow("merits 6") << "Label14"
                              << "密实度高、抗压、抗渗、抗冻性能较好等。 " << blue << 9.0;
    QTest::newRow("merits 7") << "Label12"
                              << "   本软件只适用于计算装配式U形渠道。" << blue << 9.0;
}

void WelcomeTest::layout() {
    QFETCH(QString, name);
    App app;
    auto* label = app.windows.welcome().findChild<QLabel*>(name);
    QVERIFY(label != nullptr);
    QTEST(label->text(), "text");
    QTEST(label->palette().color(QPalette::WindowText), "colour");
    QTEST(label->font().pointSizeF(), "pt");
    QCOMPARE(label->palette().color(QPalette::Window), QColor(192, 255, 255));
}

void WelcomeTest::frameless() {
    App app;
    WelcomeWindow& w = app.windows.welcome();
    QCOMPARE(w.objectName(), QString("Form6"));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.size(), QSize(410, 237));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    auto* rule = w.findChild<ui::LineWidget*>("Line1");
    QCOMPARE(rule->colour(), QColor(0, 0, 255));
    QCOMPARE(rule->lineWidth(), 2);
    QVERIFY(w.findChild<QLabel*>("Picture1")->pixmap().width() == 32);
    QVERIFY(Button(w, "Command1")->isDefault());
}

void WelcomeTest::noticeWhenAnotherCopyRuns_data() {
    QTest::addColumn<bool>("running");
    QTest::newRow("first copy") << false;
    QTest::newRow("second copy") << true;
}

void WelcomeTest::noticeWhenAnotherCopyRuns() {
    QFETCH(bool, running);
    App app;
    app.detector.running = running;
    WelcomeWindow& w = app.windows.welcome();
    QCOMPARE(app.detector.asked, 1);
    if (running) {
        QCOMPARE(app.prompter.notices,
                 std::vector<QString>{"Veltrane|程序正在运行，请检查窗口是否被最小化。"});
    } else {
        QVERIFY(app.prompter.notices.empty());
    }
    QVERIFY(!w.isVisible());  // the load finishes before the window shows
}

void WelcomeTest::loadRunsOnce() {
    App app;
    app.windows.welcome();
    app.windows.welcome();
    QCOMPARE(app.detector.asked, 1);
}

void WelcomeTest::enterContinues() {
    App app;
    WelcomeWindow& w = ShowWelcome(app);
    QTest::keyClick(&w, Qt::Key_Return);
    QVERIFY(!w.isVisible());
    QVERIFY(app.windows.existingMainWindow() != nullptr);
    QVERIFY(app.windows.existingMainWindow()->isVisible());
    QCOMPARE(VisibleWindows().size(), std::size_t{1});
}

void WelcomeTest::enterOnExitEnds() {
    App app;
    WelcomeWindow& w = ShowWelcome(app);
    Button(w, "Command2")->setFocus();
    QTest::keyClick(Button(w, "Command2"), Qt::Key_Return);
    QCOMPARE(app.exitHook.calls, 1);
    QCOMPARE(app.windows.existingMainWindow(), nullptr);
}

// Tab from 确定 to 退出 moves the dotted mark: each button looks different
// with the focus than without it.
void WelcomeTest::tabMovesAVisibleFocusMark() {
    App app;
    WelcomeWindow& w = ShowWelcome(app);
    QPushButton* ok = Button(w, "Command1");
    QPushButton* quit = Button(w, "Command2");
    ok->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(ok->hasFocus());
    const QImage okFocused = ok->grab().toImage();
    const QImage quitPlain = quit->grab().toImage();
    QTest::keyClick(ok, Qt::Key_Tab);
    QTRY_VERIFY(quit->hasFocus());
    QVERIFY(ok->grab().toImage() != okFocused);
    QVERIFY(quit->grab().toImage() != quitPlain);
}

void WelcomeTest::escapeEnds() {
    App app;
    WelcomeWindow& w = ShowWelcome(app);
    QTest::keyClick(&w, Qt::Key_Escape);
    QCOMPARE(app.exitHook.calls, 1);
    QCOMPARE(app.exitHook.lastStatus, 0);
}

void WelcomeTest::closingEnds() {
    App app;
    WelcomeWindow& w = ShowWelcome(app);
    w.close();  // what Alt+F4 asks for
    QCOMPARE(app.exitHook.calls, 1);
}

void WelcomeTest::continueShowsMainBeforeHiding() {
    App app;
    WelcomeWindow& w = ShowWelcome(app);
    bool mainVisibleWhenHidden = false;
    struct Watch : QObject {
        App* app;
        bool* seen;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Hide) {
                *seen = app->windows.existingMainWindow() != nullptr &&
                        app->windows.existingMainWindow()->isVisible();
            }
            return false;
        }
    } watch;
    watch.app = &app;
    watch.seen = &mainVisibleWhenHidden;
    w.installEventFilter(&watch);
    Button(w, "Command1")->click();
    w.removeEventFilter(&watch);
    QVERIFY(mainVisibleWhenHidden);
}

QTEST_MAIN(WelcomeTest)
#include "welcome_test.moc"
