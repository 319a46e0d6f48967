// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/look.h"

#include <QApplication>
#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTranslator>

#include <span>
#include "app/window_placement.h"
#include "views/fonts.h"

// Resources of a static library are registered by hand, outside any namespace.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace veltrane::ui {

namespace {

// Fusion honours button colours from the palette; the proxy keeps icons off
// the message box buttons, which plain desktops do not show either.
class AppStyle : public QProxyStyle {
  public:
    AppStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

    // A pressed button's caption moves down and right, as the face sinks.
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ButtonShiftHorizontal || metric == PM_ButtonShiftVertical) {
            return 1;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (qobject_cast<const QPushButton*>(widget) != nullptr) {
            if (element == PE_PanelButtonCommand) {
                DrawButtonFace(option, painter);
                return;
            }
            if (element == PE_FrameFocusRect) {
                // The classic dotted mark inside the bevel.
                painter->save();
                painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
                painter->drawRect(option->rect.adjusted(3, 3, -4, -4));
                painter->restore();
                return;
            }
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButtonBevel && qobject_cast<const QPushButton*>(widget) != nullptr) {
            DrawButtonFace(option, painter);
            return;
        }
        // Fusion marks a focused button in its own bevel, which this style
        // replaces; the classic dotted mark is drawn over the caption instead.
        if (element == CE_PushButton && qobject_cast<const QPushButton*>(widget) != nullptr) {
            QProxyStyle::drawControl(element, option, painter, widget);
            if ((option->state & State_HasFocus) != 0) {
                QStyleOptionFocusRect focus;
                focus.QStyleOption::operator=(*option);
                drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
            }
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (control == CC_GroupBox) {
            if (const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option)) {
                const int half = box->fontMetrics.height() / 2;
                const QRect r = box->rect;
                switch (sub) {
                    case SC_GroupBoxFrame:
                        return r.adjusted(0, half, 0, 0);
                    case SC_GroupBoxLabel:
                        return {r.left() + 8, r.top(),
                                box->fontMetrics.horizontalAdvance(box->text) + 4,
                                box->fontMetrics.height()};
                    case SC_GroupBoxContents:
                        return r.adjusted(2, 2 * half, -2, -2);
                    default:
                        break;
                }
            }
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }

    // A group frame of this layout: an etched outline from half the caption's
    // height, the caption on the top line with the line broken behind it,
    // and nothing painted inside, so the window's colour shows through.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
        const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
        painter->save();
        painter->setClipRegion(QRegion(box->rect).subtracted(QRegion(label)));
        painter->setPen(QColor(128, 128, 128));
        painter->drawRect(frame.adjusted(0, 0, -2, -2));
        painter->setPen(Qt::white);
        painter->drawRect(frame.adjusted(1, 1, -1, -1));
        painter->setClipping(false);
        painter->setPen(box->palette.color(QPalette::WindowText));
        painter->drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, box->text);
        painter->restore();
    }

  private:
    // The face flat in the button's own colour, with a two-pixel bevel: light
    // above and to the left, dark below and to the right, the other way round
    // while pressed.
    static void DrawButtonFace(const QStyleOption* option, QPainter* painter) {
        const QRect r = option->rect.adjusted(0, 0, -1, -1);
        const bool pressed = (option->state & (State_Sunken | State_On)) != 0;
        painter->save();
        painter->fillRect(option->rect, option->palette.button());
        const QColor light = pressed ? QColor(64, 64, 64) : Qt::white;
        const QColor dark = pressed ? Qt::white : QColor(64, 64, 64);
        const QColor shade = option->palette.button().color().darker(140);
        painter->setPen(light);
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->setPen(dark);
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->setPen(pressed ? option->palette.button().color() : shade);
        painter->drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
        painter->drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
        painter->restore();
    }
};

// SimSun's nearest kin on Debian is AR PL UMing (same 12-pixel grid at
// 9 pt), then Noto Serif CJK; past those, the system's own fallback finds
// whatever CJK face is installed. Listing the font database here instead
// would cost a tenth of the start-up time.
// Whether "宋体" resolved to one of the CJK faces above. Each of them holds
// every glyph the windows draw, so Qt need not look for fallback fonts,
// which costs a sixth of the start-up. Elsewhere it must.
bool songIsComplete = false;

const QStringList& SongFaces() {
    static const QStringList faces = [] {
        QStringList list;
        for (const auto& group : {std::span<const std::string_view>(views::kSongFaces),
                                  std::span<const std::string_view>(views::kFallbackFaces)}) {
            for (std::string_view face : group) {
                list << QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
            }
        }
        return list;
    }();
    return faces;
}

void InstallFontSubstitutions() {
    const QStringList& song = SongFaces();
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song.mid(1));
    QFont::insertSubstitutions(QStringLiteral("华文宋体"), song);
    QFont probe = SongFont(9);  // the same font as the labels', so it loads once
    probe.setStyleStrategy(QFont::NoFontMerging);
    songIsComplete = SongFaces().contains(QFontInfo(probe).family());
}

// No hinting: the Song faces draw their small sizes from embedded bitmaps on
// a fixed grid, so the text looks the same, and start-up skips running the
// hinting program of every glyph it measures (a fifth of the start-up cost).
QFont Face(const QString& family, qreal pt) {
    QFont f(family);
    f.setPointSizeF(pt);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (songIsComplete) {
        f.setStyleStrategy(QFont::NoFontMerging);
    }
    return f;
}

}  // namespace

QFont SongFont(qreal pt) {
    return Face(QStringLiteral("宋体"), pt);
}

QFont HuawenSongFont(qreal pt) {
    return Face(QStringLiteral("华文宋体"), pt);
}

// The toolkit's own texts (the boxes' context menus, the file and print
// dialogs) in Chinese, from Debian's qt6-translations-l10n. The Yes/No box
// sets its button texts itself.
static void InstallToolkitTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

void InstallLook(QApplication& app) {
    InitResources();
    InstallToolkitTranslation(app);
    app.setStyle(new AppStyle);
    InstallFontSubstitutions();
    app.setFont(SongFont(9));
    app.setWindowIcon(ProgramIcon());
    InstallDialogPlacement(app);
}

const QIcon& ProgramIcon() {
    static const QIcon icon(QStringLiteral(":/veltrane.png"));
    return icon;
}

void SetColours(QWidget* w, const QColor& text, const QColor* background) {
    QPalette p = w->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(role, text);
    }
    if (background != nullptr) {
        for (auto role : {QPalette::Window, QPalette::Button}) {
            p.setColor(role, *background);
        }
        w->setAutoFillBackground(true);
    }
    w->setPalette(p);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  const QFont& font, const QColor& text_colour, const QColor& background, int width,
                  int height, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    SetColours(label, text_colour, &background);
    label->setAlignment(align | Qt::AlignTop);
    label->move(Px(left), Px(top));
    if (width > 0) {
        label->resize(Px(width), Px(height));
    } else {
        label->adjustSize();
    }
    return label;
}

QLabel* MakePicture(QWidget* parent, int left, int top, int width, int height) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(TwipRect(left, top, width, height));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(ProgramIcon().pixmap(32, 32));
    return picture;
}

}  // namespace veltrane::ui
