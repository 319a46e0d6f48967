// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/message_boxes.h"
#include "tests/app/app_fixture.h"

using namespace veltrane;
using namespace veltrane::testing;

namespace {

// Runs step on the modal box once it is up.
void WhenBoxShows(std::function<void(QMessageBox*)> step) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            step(box);
        }
    });
    timer->start();
}

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }

    void yesNoBoxLooksRight();
    void answers_data();
    void answers();
    void escapeAndCloseGiveNoAnswer();
    void noticeHasOkOnly();
    void noticeIsCentred();
    void toolkitTextsAreChinese();
    void realBoxInTheWindow();
};

void MessageBoxTest::yesNoBoxLooksRight() {
    YesNoBox box(nullptr, QStringLiteral("糙率不能为0或负数，请重新输入。"));
    QCOMPARE(box.windowTitle(), QString("Dorvane"));
    QCOMPARE(box.text(), QString("糙率不能为0或负数，请重新输入。"));
    QCOMPARE(box.icon(), QMessageBox::Critical);
    QCOMPARE(box.defaultButton(), box.button(QMessageBox::Yes));
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QString("是(&Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QString("否(&N)"));
    QCOMPARE(box.buttons().size(), 2);
    QCOMPARE(box.style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons), 0);
    // No close button is offered: the box has no answer but Yes and No.
    QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(box.windowFlags() & Qt::CustomizeWindowHint);
}

void MessageBoxTest::answers_data() {
    QTest::addColumn<int>("key");  // 0: click No; Qt::Key_Return: the default
    QTest::addColumn<bool>("yes");
    QTest::newRow("click No") << 0 << false;
    QTest::newRow("Enter takes Yes") << int(Qt::Key_Return) << true;
    QTest::newRow("Y") << int(Qt::Key_Y) << true;
    QTest::newRow("N") << int(Qt::Key_N) << false;
}

void MessageBoxTest::answers() {
    QFETCH(int, key);
    QtPrompter prompter;
    WhenBoxShows([key](QMessageBox* box) {
        if (key == 0) {
            box->button(QMessageBox::No)->click();
        } else {
            QTest::keyClick(box, static_cast<Qt::Key>(key));
        }
    });
    QTEST(prompter.askYesNo(nullptr, QStringLiteral("加大系数已不在适用范围，请重新输入")), "yes");
}

void MessageBoxTest::escapeAndCloseGiveNoAnswer() {
    QtPrompter prompter;
    bool stillOpen = false;
    WhenBoxShows([&stillOpen](QMessageBox* box) {
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        QApplication::processEvents();
        stillOpen = box->isVisible();
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(
        !prompter.askYesNo(nullptr, QStringLiteral("校核水深已大于渠深,请选用其他U形渠道构件。")));
    QVERIFY(stillOpen);
}

void MessageBoxTest::noticeHasOkOnly() {
    auto box = MakeNoticeBox(nullptr, QStringLiteral("Veltrane"),
                             QStringLiteral("程序正在运行，请检查窗口是否被最小化。"));
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QCOMPARE(box->buttons().size(), 1);
    QCOMPARE(box->button(QMessageBox::Ok)->text(), QString("确定"));
    QCOMPARE(box->windowTitle(), QString("Veltrane"));
}

// A real box over a real window: the header is in place while it shows,
// and No goes back to the main window.
// The single-instance notice stands in the middle of the screen.
void MessageBoxTest::noticeIsCentred() {
    QPoint centre;
    QPoint screenCentre;
    WhenBoxShows([&](QMessageBox* box) {
        centre = box->frameGeometry().center();
        screenCentre = box->screen()->availableGeometry().center();
        box->button(QMessageBox::Ok)->click();
    });
    QtPrompter prompter;
    prompter.notice(nullptr, QStringLiteral("Veltrane"),
                    QStringLiteral("程序正在运行，请检查窗口是否被最小化。"));
    QVERIFY2((centre - screenCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
}

// The toolkit's own menus speak Chinese in a Chinese program.
void MessageBoxTest::toolkitTextsAreChinese() {
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions()) {
        texts << a->text();
    }
    QVERIFY2(!texts.join(' ').contains(QStringLiteral("Copy")), qPrintable(texts.join('|')));
    QVERIFY2(texts.join(' ').contains(QStringLiteral("复制")), qPrintable(texts.join('|')));
}

void MessageBoxTest::realBoxInTheWindow() {
    QtPrompter prompter;
    FakeExitHook exitHook;
    FakeDetector detector;
    FakeFileChooser files;
    WindowRegistry windows({prompter, exitHook, detector, files});
    windows.mainWindow();
    windows.openCalculationWindow(SectionSize::U60);
    CalculationWindow& w = windows.calculationWindow(SectionSize::U60);
    w.inputBox(InputBox::Text2)->setText(QString());
    QString reportWhileAsking;
    QString prompt;
    WhenBoxShows([&](QMessageBox* box) {
        reportWhileAsking = w.reportText();
        prompt = box->text();
        box->button(QMessageBox::No)->click();
    });
    w.findChild<QPushButton*>("Command1")->click();
    QCOMPARE(prompt, QString("设计流量不能为0或负数，请重新输入"));
    QCOMPARE(reportWhileAsking, QString("显示计算成果： U60形渠道构件。"));
    QVERIFY(!w.isVisible());
    QVERIFY(windows.mainWindow().isVisible());
}

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
