// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleHints>
#include <string>

#include "app/keys.h"
#include "app/line_widget.h"
#include "app/look.h"
#include "app/navigator.h"
#include "hydraulics/section_dimensions.h"

namespace veltrane {

namespace {

constexpr std::array<const char*, kSectionCount> kOptionCaptions = {
    " D60 U形", " D80 U形", " D100 U形", " D120 U形", " D140 U形"};
constexpr std::array<int, kSectionCount> kOptionTops = {400, 975, 1550, 2125, 2700};

// The dimension table, in twips inside Frame1. Display only: the catalogue
// holds the values that the calculation uses.
struct Cell {
    const char* name;
    const char* text;
};

constexpr std::size_t kColumns = 6;
constexpr std::array<Cell, kColumns> kHeads = {{{"Label3", "规格"},
                                                {"Label14", "渠深"},
                                                {"Label15", "渠口宽"},
                                                {"Label16", "板厚"},
                                                {"Label17", "倾角"},
                                                {"Label18", "半径"}}};
constexpr std::array<int, kColumns> kHeadLefts = {2505, 3090, 3670, 4420, 4990, 5520};
constexpr std::array<int, kColumns> kHeadTops = {855, 860, 860, 855, 855, 855};

// Control names of the body cells, row by row; the texts come from the
// dimension table.
constexpr std::array<std::array<const char*, kColumns>, kSectionCount> kCellNames = {{
    {"Label4", "Label9", "Label24", "Label29", "Label34", "Label19"},
    {"Label5", "Label10", "Label25", "Label30", "Label35", "Label20"},
    {"Label6", "Label11", "Label26", "Label31", "Label36", "Label21"},
    {"Label7", "Label12", "Label27", "Label32", "Label37", "Label22"},
    {"Label8", "Label13", "Label28", "Label33", "Label38", "Label23"},
}};

std::array<std::string_view, kColumns> CellTexts(const SectionDimensions& d) {
    return {d.name, d.depthCm, d.topWidthCm, d.slabCm, d.angleDeg, d.radiusCm};
}

constexpr std::array<int, kSectionCount> kRowTops = {1200, 1560, 1920, 2320, 2680};

// Left edge of a body cell: the size names and the angles shift with their width.
int CellLeft(int column, std::string_view text) {
    const auto len = text.size();
    switch (column) {
        case 0:
            return len == 3 ? 2520 : 2470;
        case 1:
            return 3120;
        case 2:
            return 3790;
        case 3:
            return 4440;
        case 4:
            return len == 1 ? 5150 : 5050;
        default:
            return 5580;
    }
}

constexpr int kBoxLeft = 2400, kBoxRight = 6000, kBoxTop = 780, kBoxBottom = 3000;
constexpr std::array<int, 5> kInnerVerticals = {3000, 3600, 4300, 4900, 5450};
constexpr std::array<int, 5> kInnerHorizontals = {1150, 1520, 1890, 2260, 2630};

Qt::WindowFlags MainWindowFlags() {
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

}  // namespace

MainWindow::MainWindow(AppServices services, Navigator& navigator)
    : QDialog(nullptr, MainWindowFlags()), services_(services), navigator_(navigator) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Veltrane"));
    setFont(ui::SongFont(12));
    ui::SetColours(this, Qt::black, &ui::kLightCyan);
    setFixedSize(ui::Px(6360), ui::Px(4275));

    auto* frame = new QGroupBox(QStringLiteral("请选用常用装配式U形渠道构件"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(ui::TwipRect(120, 120, 6135, 3375));
    ui::SetColours(frame, ui::kDarkBlue, &ui::kLightCyan);

    for (std::size_t i = 0; i < kOptionCaptions.size(); ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(kOptionCaptions[i]), frame);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        option->setGeometry(ui::TwipRect(240, kOptionTops[i], 1600, 350));
        ui::SetColours(option, ui::kMagenta, &ui::kLightViolet);
        connect(option, &QRadioButton::toggled, this, &MainWindow::updateOptionFocus);
        options_[i] = option;
    }
    options_[static_cast<std::size_t>(SectionSize::U120)]->setChecked(true);
    buildTable(frame);

    const struct {
        const char* name;
        int left;
        const char* tooltip;
    } buttons[] = {{"Command1", 1194, "进入计算程序"}, {"Command2", 3832, "退出本软件"}};
    QPushButton* made[2] = {};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(i == 0 ? "确定" : "退出"), this);
        b->setObjectName(QString::fromLatin1(buttons[i].name));
        b->setGeometry(ui::TwipRect(buttons[i].left, 3700, 995, 350));
        b->setToolTip(QString::fromUtf8(buttons[i].tooltip));
        ui::SetColours(b, Qt::black, &ui::kLightCyan);
        b->setAutoDefault(true);
        made[i] = b;
    }
    made[0]->setDefault(true);
    connect(made[0], &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(made[1], &QPushButton::clicked, this, [this] { services_.exitHook.exitNow(0); });

    updateOptionFocus();
    for (int i = 1; i < kSectionCount; ++i) {
        setTabOrder(options_[static_cast<std::size_t>(i - 1)],
                    options_[static_cast<std::size_t>(i)]);
    }
    setTabOrder(options_.back(), made[0]);
    setTabOrder(made[0], made[1]);
    made[0]->setFocus();
}

void MainWindow::buildTable(QWidget* frame) {
    ui::MakeLabel(frame, "Label1", QStringLiteral("常用U形构件主要尺寸"), 3000, 380,
                  ui::SongFont(12), ui::kBlue, ui::kLightCyan);
    ui::MakeLabel(frame, "Label2", QStringLiteral("厘米"), 5500, 550, ui::SongFont(9), ui::kBlue,
                  ui::kLightCyan);
    for (std::size_t c = 0; c < kColumns; ++c) {
        ui::MakeLabel(frame, kHeads[c].name, QString::fromUtf8(kHeads[c].text), kHeadLefts[c],
                      kHeadTops[c], ui::SongFont(10.5), ui::kBlue, ui::kLightCyan);
    }
    for (std::size_t r = 0; r < kCellNames.size(); ++r) {
        const auto texts = CellTexts(kDimensionTable[r]);
        for (std::size_t c = 0; c < kColumns; ++c) {
            const std::string_view text = texts[c];
            ui::MakeLabel(frame, kCellNames[r][c],
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                          CellLeft(static_cast<int>(c), text), kRowTops[r], ui::SongFont(12),
                          ui::kBlue, ui::kLightCyan);
        }
    }
    // Outer box two pixels wide, then the inner rules one pixel wide.
    int n = 0;
    auto line = [&](QPoint from, QPoint to, int width) {
        new ui::LineWidget(frame, QStringLiteral("Line%1").arg(++n), from, to, ui::kPurple, width);
    };
    line({kBoxLeft, kBoxTop}, {kBoxRight, kBoxTop}, 2);
    line({kBoxLeft, kBoxBottom}, {kBoxRight, kBoxBottom}, 2);
    line({kBoxLeft, kBoxTop}, {kBoxLeft, kBoxBottom}, 2);
    line({kBoxRight, kBoxTop}, {kBoxRight, kBoxBottom}, 2);
    for (int x : kInnerVerticals) {
        line({x, kBoxTop}, {x, kBoxBottom}, 1);
    }
    for (int y : kInnerHorizontals) {
        line({kBoxLeft, y}, {kBoxRight, y}, 1);
    }
}

QRadioButton* MainWindow::option(SectionSize size) const {
    return options_[static_cast<std::size_t>(size)];
}

std::optional<SectionSize> MainWindow::selectedSize() const {
    for (int i = 0; i < kSectionCount; ++i) {
        if (options_[static_cast<std::size_t>(i)]->isChecked()) {
            return static_cast<SectionSize>(i);
        }
    }
    return std::nullopt;
}

// Tab lands on the selected option only: the group is one stop.
void MainWindow::updateOptionFocus() {
    for (QRadioButton* o : options_) {
        o->setFocusPolicy(o->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void MainWindow::Command1_Click() {
    if (const auto size = selectedSize()) {
        navigator_.openCalculationWindow(*size);
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // This window has no cancel button: Esc does nothing.
    if (!ui::HandleEscape(event, nullptr)) {
        QDialog::keyPressEvent(event);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    shown_.start();
    QDialog::showEvent(event);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    // A click on the bare surface ends the program. Labels let clicks through
    // to their parent, so only a point with no control under it counts. The
    // second press of a double-click on the button that showed this window
    // (确定 of the welcome window, 返回 of a calculation window) lands here
    // too; within the double-click interval of the showing it is not an exit.
    if (childAt(event->position().toPoint()) == nullptr) {
        const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        if (shown_.isValid() && shown_.elapsed() < interval) {
            return;
        }
        services_.exitHook.exitNow(0);
        return;
    }
    QDialog::mousePressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // With the welcome window hidden for good, closing this window ends the
    // program rather than leaving it running with nothing on screen.
    event->ignore();
    services_.exitHook.exitNow(0);
}

}  // namespace veltrane
