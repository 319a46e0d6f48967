// SPDX-License-Identifier: GPL-3.0-or-later
// Where windows and dialogs first appear: the frame's centre on the screen's
// or the parent's, worked out by hand; and dialogs placed after they have
// sized themselves. (Under a real window manager: scripts/check-centring.)
#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QtTest>

#include "app/window_placement.h"
#include "tests/app/app_fixture.h"

using namespace veltrane;
using namespace veltrane::testing;

class WindowPlacementTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }
    void frameCentred_data();
    void frameCentred();
    void dialogsCentreOnTheirParentAfterSizingThemselves();
};

void WindowPlacementTest::frameCentred_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QMargins>("frame");  // left, top, right, bottom
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QPoint>("clientAt");
    const QRect screen(0, 0, 1280, 1024);
    // 426×306 frame: (1280 − 426) / 2 = 427, (1024 − 306) / 2 = 359; the
    // client sits inside the frame's left border and title bar.
    QTest::newRow("window on the screen")
        << QSize(424, 285) << QMargins(1, 20, 1, 1) << screen << screen << QPoint(428, 379);
    // A 664×695 frame on a parent framed at 428,350 424×324: left 428 − 120,
    // top 350 − 185 (half of 371, towards the parent's top).
    QTest::newRow("dialog on its parent")
        << QSize(662, 670) << QMargins(1, 20, 1, 5) << QRect(428, 350, 424, 324) << screen
        << QPoint(309, 185);
    // Taller than a 600-pixel screen: the title bar stays on it.
    QTest::newRow("taller than the screen")
        << QSize(662, 670) << QMargins(1, 20, 1, 5) << QRect(0, 0, 1024, 600)
        << QRect(0, 0, 1024, 600) << QPoint(181, 20);
    // Over a parent at the screen's right edge: pulled in to end at 1280.
    QTest::newRow("pulled in from the right edge")
        << QSize(300, 200) << QMargins() << QRect(1100, 100, 170, 100) << screen << QPoint(980, 50);
    // A screen that does not start at 0,0 (a second monitor).
    QTest::newRow("second screen")
        << QSize(400, 300) << QMargins(2, 30, 2, 2) << QRect(1280, 0, 1920, 1080)
        << QRect(1280, 0, 1920, 1080) << QPoint(1280 + 758 + 2, 374 + 30);
}

void WindowPlacementTest::frameCentred() {
    QFETCH(QSize, client);
    QFETCH(QMargins, frame);
    QFETCH(QRect, area);
    QFETCH(QRect, bounds);
    QFETCH(QPoint, clientAt);
    QCOMPARE(ui::CentredClient(client, frame, area, bounds), QRect(clientAt, client));
}

// A message box settles its size as it shows; placed before that, a box
// with a long text would hang off to the right of its parent's centre.
void WindowPlacementTest::dialogsCentreOnTheirParentAfterSizingThemselves() {
    QWidget parent;
    parent.setGeometry(200, 150, 500, 400);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const QPoint centre = parent.frameGeometry().center();

    QMessageBox box(QMessageBox::Critical, QStringLiteral("Dorvane"),
                    QStringLiteral("输入有误，请重新输入。").repeated(6), QMessageBox::Ok, &parent);
    QDialog plain(&parent);
    plain.resize(260, 120);
    for (QDialog* dialog : {static_cast<QDialog*>(&box), &plain}) {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QRect shown = dialog->frameGeometry();
        QVERIFY2(std::abs(shown.center().x() - centre.x()) <= 1 &&
                     std::abs(shown.center().y() - centre.y()) <= 1,
                 qPrintable(QStringLiteral("%1 at %2,%3 %4×%5, the parent's centre %6,%7")
                                .arg(dialog->metaObject()->className())
                                .arg(shown.x())
                                .arg(shown.y())
                                .arg(shown.width())
                                .arg(shown.height())
                                .arg(centre.x())
                                .arg(centre.y())));
        dialog->hide();
    }
}

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
