// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/welcome.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/keys.h"
#include "app/line_widget.h"
#include "app/look.h"
#include "app/navigator.h"

namespace veltrane {

namespace {

struct WelcomeLabel {
    const char* name;
    int left, top;
    const char* text;
    enum Colour { Magenta, DarkBlue, Blue } colour;
    double fontPt;
    int width, height;  // 0: sized to the text
    bool centred;
};

constexpr WelcomeLabel kLabels[] = {
    {"Label9", 5100, 240, "版本：V1.0", WelcomeLabel::Magenta, 9, 1815, 200, false},
    {"Label4", 435, 1395, "装配式U形渠道", WelcomeLabel::Magenta, 10.5, 0, 0, false},
    {"Label5", 360, 1800, "Korlund", WelcomeLabel::DarkBlue, 9, 0, 0, false},
    {"Label6", 705, 2100, "Dorvane", WelcomeLabel::DarkBlue, 9, 0, 0, false},
    {"Label2", 810, 2400, "Tamsor", WelcomeLabel::Blue, 9, 0, 0, true},
    {"Label7", 360, 2700, "时间：2003年12月", WelcomeLabel::Blue, 9, 0, 0, false},
    // One paragraph in seven lines; the blanks are part of the texts.
    {"Label3", 2295, 720, "     U形渠道优点：整齐美观、水力条件好、接", WelcomeLabel::Blue, 9, 0, 0,
     false},
    {"Label8", 2480, 1050, "近最优断面、流速大、不易产生淤积、渠口宽", WelcomeLabel::Blue, 9, 0, 0,
     false},
    {"Label10", 2475, 1380, "度窄、占用耕地少等。", WelcomeLabel::Blue, 9, 0, 0, false},
    {"Label11", 2385, 1710, "    现浇U形渠道机械施工存在工期长、质量不", WelcomeLabel::Blue, 9, 0,
     0, false},
    {"Label13", 2480, 2040, "易保证、抗冻性能差等，而装配式预制U形构件", WelcomeLabel::Blue, 9,
     3735, 180, false},
    {"Label14", 2480, 2370, "密实度高、抗压、抗渗、抗冻性能较好等。 ", WelcomeLabel::Blue, 9, 3735,
     180, false},
    {"Label12", 2475, 2700, "   本软件只适用于计算装配式U形渠道。", WelcomeLabel::Blue, 9, 0, 0,
     false},
};

const QColor& ColourOf(WelcomeLabel::Colour c) {
    switch (c) {
        case WelcomeLabel::Magenta:
            return ui::kMagenta;
        case WelcomeLabel::DarkBlue:
            return ui::kDarkBlue;
        case WelcomeLabel::Blue:
            break;
    }
    return ui::kBlue;
}

}  // namespace

WelcomeWindow::WelcomeWindow(AppServices services, Navigator& navigator)
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint),
      services_(services),
      navigator_(navigator) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Veltrane----Dorvane"));
    setFont(ui::SongFont(9));
    ui::SetColours(this, Qt::black, &ui::kLightCyan);
    setFixedSize(ui::Px(6150), ui::Px(3555));

    ui::MakeLabel(this, "Label1", QStringLiteral("欢迎进入Veltrane程序"), 120, 120,
                  ui::HuawenSongFont(12), ui::kMagenta, ui::kLightCyan);
    for (const WelcomeLabel& l : kLabels) {
        ui::MakeLabel(this, l.name, QString::fromUtf8(l.text), l.left, l.top,
                      ui::SongFont(l.fontPt), ColourOf(l.colour), ui::kLightCyan, l.width, l.height,
                      l.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    }
    new ui::LineWidget(this, QStringLiteral("Line1"), {0, 480}, {6200, 480}, ui::kBlue, 2);
    ui::MakePicture(this, 840, 720, 495, 495);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    quit->setObjectName(QStringLiteral("Command2"));
    ok->setGeometry(ui::TwipRect(1400, 3100, 950, 350));
    quit->setGeometry(ui::TwipRect(3600, 3100, 950, 350));
    for (QPushButton* b : {ok, quit}) {
        b->setFont(ui::SongFont(10.5));
        ui::SetColours(b, Qt::black, &ui::kLightCyan);
        b->setAutoDefault(true);
    }
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &WelcomeWindow::Command1_Click);
    connect(quit, &QPushButton::clicked, this, [this] { services_.exitHook.exitNow(0); });
}

void WelcomeWindow::Form_Load() {
    if (services_.instances.anotherInstanceRunning()) {
        services_.prompter.notice(this, QStringLiteral("Veltrane"),
                                  QStringLiteral("程序正在运行，请检查窗口是否被最小化。"));
    }
}

void WelcomeWindow::Command1_Click() {
    navigator_.showMainWindow();
    hide();
}

void WelcomeWindow::keyPressEvent(QKeyEvent* event) {
    if (!ui::HandleEscape(event, findChild<QPushButton*>(QStringLiteral("Command2")))) {
        QDialog::keyPressEvent(event);
    }
}

void WelcomeWindow::closeEvent(QCloseEvent* event) {
    // A frameless window can still be closed by the window manager (Alt+F4):
    // that ends the program instead of leaving it running unseen.
    event->ignore();
    services_.exitHook.exitNow(0);
}

}  // namespace veltrane
