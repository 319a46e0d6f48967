// SPDX-License-Identifier: GPL-3.0-or-later
// Units, colours and fonts of the window layouts.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QApplication;
class QLabel;
class QWidget;

namespace veltrane::ui {

// Layouts are in twips; 15 twips make one logical pixel. Qt's own high-DPI
// scaling takes it from there.
constexpr int Px(int twips) {
    return (twips + 7) / 15;
}

inline QRect TwipRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

inline const QColor kLightCyan{192, 255, 255};
inline const QColor kLightViolet{192, 192, 255};
inline const QColor kMagenta{255, 0, 255};
inline const QColor kDarkBlue{0, 0, 192};
inline const QColor kBlue{0, 0, 255};
inline const QColor kPurple{192, 0, 192};

// "宋体" at pt points; resolved through the substitutions of InstallLook.
QFont SongFont(qreal pt);
// "华文宋体", the welcome title's face.
QFont HuawenSongFont(qreal pt);

// Style, font substitutions and window icon for the whole program.
void InstallLook(QApplication& app);

// The program icon, also the picture of the Picture1 boxes.
const QIcon& ProgramIcon();

// Text and background colours of a control. Without a background the control
// keeps the system colour behind its text.
void SetColours(QWidget* w, const QColor& text, const QColor* background);

// A label at a twip position; sized to its text unless a twip size is given.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  const QFont& font, const QColor& text_colour, const QColor& background,
                  int width = 0, int height = 0, Qt::Alignment align = Qt::AlignLeft);

// The Picture1 box: the icon at its top left corner.
QLabel* MakePicture(QWidget* parent, int left, int top, int width, int height);

}  // namespace veltrane::ui
