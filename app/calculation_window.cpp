// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/calculation_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>

#include "app/keys.h"
#include "app/line_widget.h"
#include "app/look.h"
#include "app/navigator.h"
#include "app/report_menu.h"

namespace veltrane {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::WindowFlags CalculationWindowFlags() {
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}

}  // namespace

CalculationWindow::CalculationWindow(const CalculationLayout& layout, AppServices services,
                                     Navigator& navigator)
    : QDialog(nullptr, CalculationWindowFlags()),
      layout_(layout),
      section_(LookupSection(layout.size)),
      services_(services),
      navigator_(navigator) {
    setObjectName(QString::fromLatin1(layout.formName));
    setWindowTitle(FromUtf8(section_.windowCaption));
    setFont(ui::SongFont(layout.windowFontPt));
    ui::SetColours(this, Qt::black, &ui::kLightViolet);
    const QSize client(ui::Px(layout.clientWidth), ui::Px(layout.clientHeight));
    if (layout.sizable) {
        resize(client);
    } else {
        setFixedSize(client);
    }
    setSizeGripEnabled(false);

    buildFrame();

    report_ = new QPlainTextEdit(this);
    report_->setObjectName(QStringLiteral("Text1"));
    report_->setAccessibleName(QStringLiteral("计算成果"));
    report_->setGeometry(ui::TwipRect(layout.report.left, layout.report.top, layout.report.width,
                                      layout.report.height));
    report_->setFont(ui::SongFont(9));
    ui::SetColours(report_, ui::kBlue, nullptr);
    QPalette p = report_->palette();
    p.setColor(QPalette::Base, ui::kLightViolet);
    report_->setPalette(p);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    report_->setTabChangesFocus(true);
    report_->setReadOnly(!layout.reportEditable);
    report_->setFocusPolicy(Qt::StrongFocus);
    if (layout.reportEditable) {
        report_->installEventFilter(this);  // Enter calculates rather than breaking the line
    }

    buildBottom();

    QWidget* previous = nullptr;
    for (const char* name : layout.focusOrder) {
        auto* w = findChild<QWidget*>(QString::fromLatin1(name));
        if (previous != nullptr) {
            setTabOrder(previous, w);
        }
        previous = w;
    }
    findChild<QWidget*>(QString::fromLatin1(layout.focusOrder[0]))->setFocus();

    if (layout.writesHeaderOnCreate) {
        setReportText(FromUtf8(section_.reportHeader));
    }
    InstallReportMenu(*this, report_, services_);
}

void CalculationWindow::buildFrame() {
    auto* frame = new QGroupBox(QStringLiteral("已知条件"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(ui::TwipRect(layout_.frame.left, layout_.frame.top, layout_.frame.width,
                                    layout_.frame.height));
    frame->setFont(ui::SongFont(9));
    ui::SetColours(frame, ui::kMagenta, &ui::kLightViolet);

    const QColor& labelColour = layout_.labelsDarkBlue ? ui::kDarkBlue : ui::kBlue;
    for (int i = 0; i < kInputBoxCount; ++i) {
        const auto box = static_cast<InputBox>(i);
        const FrameLabel& l = layout_.labels[static_cast<std::size_t>(i)];
        const QString caption = QString::fromUtf8(l.caption);
        ui::MakeLabel(frame, l.name, caption, 120, l.top, ui::SongFont(9), labelColour,
                      ui::kLightViolet, l.size.width, l.size.height);

        auto* edit = new QLineEdit(FromUtf8(DefaultText(section_, box)), frame);
        edit->setObjectName(FromUtf8(InputBoxName(box)));
        edit->setAccessibleName(caption);
        const int width = box == InputBox::Text7 ? layout_.text7Width : layout_.inputWidth;
        edit->setGeometry(ui::TwipRect(layout_.inputLeft,
                                       layout_.inputTops[static_cast<std::size_t>(i)], width, 300));
        edit->setFont(ui::SongFont(9));
        ui::SetColours(edit, ui::kBlue, nullptr);
        switch (box) {
            case InputBox::Text2:
                edit->setMaxLength(layout_.text2MaxLength);
                break;
            case InputBox::Text4:
            case InputBox::text6:
                edit->setMaxLength(6);
                break;
            case InputBox::Text7:
                // The increase factor takes a text of any length.
                edit->setMaxLength(std::numeric_limits<int>::max());
                if (layout_.text7Tooltip) {
                    edit->setToolTip(QString::fromUtf8(kFactorTooltip));
                }
                break;
        }
        inputs_[static_cast<std::size_t>(i)] = edit;
    }
}

void CalculationWindow::buildBottom() {
    ui::MakePicture(this, layout_.picture.left, layout_.picture.top, layout_.picture.width,
                    layout_.picture.height);

    const TwipBox& l2 = layout_.label2;
    const bool fixed = !layout_.label2SizedToText;
    ui::MakeLabel(this, "Label2", FromUtf8(section_.sizeLabel), l2.left, l2.top, ui::SongFont(12),
                  ui::kBlue, ui::kLightViolet, fixed ? l2.width : 0, fixed ? l2.height : 0,
                  layout_.label2Centred ? Qt::AlignHCenter : Qt::AlignLeft);

    const auto [left, top, right, bottom] = layout_.rectangle;
    const struct {
        const char* name;
        QPoint from, to;
    } edges[] = {{"Line1", {left, top}, {right, top}},
                 {"Line2", {left, top}, {left, bottom}},
                 {"Line3", {left, bottom}, {right, bottom}},
                 {"Line4", {right, top}, {right, bottom}}};
    for (const auto& e : edges) {
        new ui::LineWidget(this, QString::fromLatin1(e.name), e.from, e.to, ui::kMagenta, 2);
    }

    const struct {
        const char* caption;
        const char* tooltip;
        double fontPt;
    } roles[3] = {{"计算", "显示计算结果", 10.5},
                  {"返回", "返回主菜单", 10.5},
                  {"退出", layout_.exitTooltip, layout_.exitFontPt}};
    // Role order: calculate, back, exit; the names follow the window.
    const char* names[3] = {"Command1", layout_.backIsCommand2 ? "Command2" : "Command3",
                            layout_.backIsCommand2 ? "Command3" : "Command2"};
    QPushButton* buttons[3] = {};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(roles[i].caption), this);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setToolTip(QString::fromUtf8(roles[i].tooltip));
        b->setFont(ui::SongFont(roles[i].fontPt));
        ui::SetColours(b, palette().color(QPalette::ButtonText), &ui::kLightViolet);
        b->setGeometry(ui::TwipRect(layout_.buttonLefts[static_cast<std::size_t>(i)],
                                    layout_.buttonTop,
                                    layout_.buttonSizes[static_cast<std::size_t>(i)].width,
                                    layout_.buttonSizes[static_cast<std::size_t>(i)].height));
        b->setAutoDefault(true);
        buttons[i] = b;
    }
    calculate_ = buttons[0];
    back_ = buttons[1];
    exit_ = buttons[2];
    calculate_->setDefault(true);
    connect(calculate_, &QPushButton::clicked, this, &CalculationWindow::Command1_Click);
    connect(back_, &QPushButton::clicked, this, &CalculationWindow::fanhui);
    connect(exit_, &QPushButton::clicked, this, [this] { services_.exitHook.exitNow(0); });
}

QString CalculationWindow::DisplayText(std::string_view report) {
    QString text = FromUtf8(report);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

void CalculationWindow::setReportText(const QString& text) {
    report_->setPlainText(text);
}

QString CalculationWindow::reportText() const {
    return report_->toPlainText();
}

QLineEdit* CalculationWindow::inputBox(InputBox box) const {
    return inputs_[static_cast<std::size_t>(box)];
}

QPushButton* CalculationWindow::backButton() const {
    return back_;
}

QPushButton* CalculationWindow::exitButton() const {
    return exit_;
}

void CalculationWindow::fanhui() {
    if (layout_.backOrder == BackOrder::HideThenShowMain) {
        hide();
        navigator_.showMainWindow();
    } else {
        navigator_.showMainWindow();
        hide();
    }
}

void CalculationWindow::Command1_Click() {
    const std::string q = inputBox(InputBox::Text2)->text().toStdString();
    const std::string x = inputBox(InputBox::Text4)->text().toStdString();
    const std::string n = inputBox(InputBox::text6)->text().toStdString();
    const std::string k = inputBox(InputBox::Text7)->text().toStdString();
    const CalculationOutcome outcome = RunCalculation(section_, {q, x, n, k});
    // The header replaces any earlier report before a message can show.
    setReportText(FromUtf8(outcome.header));
    if (outcome.isReport()) {
        setReportText(DisplayText(outcome.report().text));
        return;
    }
    if (services_.prompter.askYesNo(this, FromUtf8(outcome.message().text))) {
        carryOut(outcome.message());
    } else {
        fanhui();
    }
}

void CalculationWindow::carryOut(const CalculationMessage& message) {
    show();
    raise();
    activateWindow();
    inputBox(message.box)->setFocus();
    for (std::size_t i = 0; i < message.restoreCount; ++i) {
        inputBox(message.restores[i].box)->setText(FromUtf8(message.restores[i].text));
    }
    if (!message.reportBoxText.empty()) {
        setReportText(FromUtf8(message.reportBoxText));
    }
}

void CalculationWindow::keyPressEvent(QKeyEvent* event) {
    if (!ui::HandleEscape(event, layout_.esc == EscRole::Back ? back_ : exit_)) {
        QDialog::keyPressEvent(event);
    }
}

void CalculationWindow::closeEvent(QCloseEvent* event) {
    // The close box goes back, as the back button does; the window stays alive.
    event->ignore();
    fanhui();
}

bool CalculationWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == report_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            calculate_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace veltrane
