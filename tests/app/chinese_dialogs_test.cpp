// SPDX-License-Identifier: GPL-3.0-or-later
// Every word the companion dialogs show is Chinese: titles, labels, buttons,
// tables, answers and refusals, for reports, every kind of message and
// refused criteria. The only ASCII words are units, symbols, sizes and file
// formats (tests/views/chinese.h).
#include <QAbstractButton>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "app/companion_dialogs.h"
#include "app/companion_session.h"
#include "tests/app/app_fixture.h"
#include "tests/views/chinese.h"

using namespace veltrane;
using namespace veltrane::testing;

namespace {

// Every text a dialog shows, each with where it stands.
QStringList ShownTexts(QDialog* d) {
    QStringList texts = {QStringLiteral("标题：") + d->windowTitle()};
    for (auto* w : d->findChildren<QLabel*>()) {
        texts << QStringLiteral("标签：") + w->text();
    }
    for (auto* w : d->findChildren<QAbstractButton*>()) {
        texts << QStringLiteral("按钮：") + w->text();
    }
    for (auto* w : d->findChildren<QLineEdit*>()) {
        texts << QStringLiteral("输入框：") + w->accessibleName();
    }
    for (auto* w : d->findChildren<QPlainTextEdit*>()) {
        texts << QStringLiteral("文本：") + w->toPlainText();
    }
    for (auto* w : d->findChildren<QTextBrowser*>()) {
        texts << QStringLiteral("预览：") + w->toPlainText();
    }
    for (auto* t : d->findChildren<QTableWidget*>()) {
        for (int c = 0; c < t->columnCount(); ++c) {
            texts << QStringLiteral("表头：") + t->horizontalHeaderItem(c)->text();
            for (int r = 0; r < t->rowCount(); ++r) {
                texts << QStringLiteral("单元格：") + t->item(r, c)->text();
            }
        }
    }
    return texts;
}

using Maker = QDialog* (*)(CalculationWindow&, AppServices);

}  // namespace

class ChineseDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }
    void everyWordIsChinese_data();
    void everyWordIsChinese();
};

void ChineseDialogsTest::everyWordIsChinese_data() {
    QTest::addColumn<QStringList>("inputs");    // Q, x, n, k
    QTest::addColumn<QStringList>("criteria");  // min freeboard, min and max velocity
    const QStringList none = {"", "", ""};
    QTest::newRow("report") << QStringList{"0.25", "500", "0.017", "1.0"} << none;
    QTest::newRow("criteria given")
        << QStringList{"0.25", "500", "0.017", "1.2"} << QStringList{"0.05", "0.5", "0.8"};
    QTest::newRow("roughness rejected") << QStringList{"0.25", "500", "abc", "1.0"} << none;
    QTest::newRow("factor rejected") << QStringList{"0.25", "500", "0.017", "3"} << none;
    QTest::newRow("out of range") << QStringList{"0.2", "1e999", "0.02", "1"} << none;
    QTest::newRow("design above H") << QStringList{"0.268", "500", "0.017", "1.0"} << none;
    QTest::newRow("check above H") << QStringList{"0.25", "500", "0.017", "1.2"} << none;
    QTest::newRow("criteria refused")
        << QStringList{"0.25", "500", "0.017", "1.0"} << QStringList{"abc", "0.9", "0.5"};
    QTest::newRow("no slope serves")
        << QStringList{"5", "500", "0.017", "1.0"} << QStringList{"0.6", "", ""};
}

void ChineseDialogsTest::everyWordIsChinese() {
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, criteria);
    const Maker makers[] = {MakeSheetDialog, MakeDrawingDialog, MakeFitDialog, MakeRatingDialog,
                            MakeDesignAidsDialog};
    for (SectionSize size : {SectionSize::U60, SectionSize::U140}) {
        App app;
        CalculationWindow& w = OpenCalculation(app, size);
        SetInputs(w, inputs[0], inputs[1], inputs[2], inputs[3]);
        SessionSheetDetails() = {};
        SessionSheetDetails().minFreeboard = criteria[0];
        SessionSheetDetails().minVelocity = criteria[1];
        SessionSheetDetails().maxVelocity = criteria[2];
        for (Maker make : makers) {
            std::unique_ptr<QDialog> d(make(w, app.windows.services()));
            for (const QString& shown : ShownTexts(d.get())) {
                std::string text = shown.toStdString();
                for (const QString& typed : inputs + criteria) {
                    text = Without(text, typed.toStdString());
                }
                QVERIFY2(ForeignWord(text).empty(), qPrintable(d->objectName() + ": " + shown));
            }
        }
    }
    SessionSheetDetails() = {};
}

QTEST_MAIN(ChineseDialogsTest)
#include "chinese_dialogs_test.moc"
