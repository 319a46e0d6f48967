// SPDX-License-Identifier: GPL-3.0-or-later
// The drawn colours of the windows' buttons and group frames, sampled from
// the rendered windows against the values of the layouts.
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QtTest>

#include "tests/app/app_fixture.h"

using namespace veltrane;
using namespace veltrane::testing;

namespace {

QColor At(const QImage& image, QPoint p) {
    return QColor(image.pixel(p));
}

}  // namespace

class LookTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }
    void faces_data();
    void faces();
};

void LookTest::faces_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QColor>("colour");  // the window's, its buttons' and its frame's inside
    QTest::newRow("main") << "main" << QColor(192, 255, 255);
    QTest::newRow("welcome") << "welcome" << QColor(192, 255, 255);
    QTest::newRow("U60") << "U60" << QColor(192, 192, 255);
    QTest::newRow("U140") << "U140" << QColor(192, 192, 255);
}

// A button's face is flat in the button's colour, with a bevel at its edge;
// a frame's inside is the window's colour, and its outline starts half the
// caption's height below the frame's top, through the caption.
void LookTest::faces() {
    QFETCH(QString, window);
    QFETCH(QColor, colour);
    App app;
    QWidget* w = window == "main" ? static_cast<QWidget*>(&app.windows.mainWindow())
                 : window == "welcome"
                     ? static_cast<QWidget*>(&app.windows.welcome())
                     : static_cast<QWidget*>(&app.windows.calculationWindow(
                           window == "U60" ? SectionSize::U60 : SectionSize::U140));
    w->show();
    const QImage image = w->grab().toImage();
    for (QPushButton* b : w->findChildren<QPushButton*>()) {
        const QRect r = b->geometry();
        for (const QPoint p :
             {QPoint(r.left() + 4, r.center().y()), QPoint(r.right() - 4, r.top() + 4),
              r.bottomLeft() + QPoint(8, -4)}) {
            QCOMPARE(At(image, p), colour);
        }
        QCOMPARE(At(image, r.topLeft() + QPoint(4, 0)), QColor(Qt::white));  // the bevel
    }
    if (auto* frame = w->findChild<QGroupBox*>("Frame1")) {
        const QRect r = frame->geometry();
        const int line = r.top() + frame->fontMetrics().height() / 2;
        QCOMPARE(At(image, QPoint(r.right() - 6, line)), QColor(128, 128, 128));
        QCOMPARE(At(image, QPoint(r.right() - 6, line - 2)), colour);  // above the outline
        QCOMPARE(At(image, QPoint(r.right() - 6, line + 4)), colour);  // the inside
        QCOMPARE(At(image, QPoint(r.left() + 4, r.bottom() - 6)), colour);
    }
}

QTEST_MAIN(LookTest)
#include "look_test.moc"
