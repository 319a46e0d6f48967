// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_placement.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <optional>

#include "app/frame_extents.h"

namespace veltrane::ui {

namespace {

// Set on a window that ShowCentred is about to show: centre it on the screen.
constexpr char kCentreOnScreen[] = "veltraneCentreOnScreen";

// The frame a window manager drew around a window shown earlier; used where
// the manager cannot be asked before a window first shows.
std::optional<QMargins> learntFrame;

bool Framed(const QWidget* window) {
    return !(window->windowFlags() & Qt::FramelessWindowHint);
}

// The frame the window manager will draw around window. Asked of the manager
// for each window, since a dialog that may be resized has a wider frame than
// a fixed window; otherwise what Qt knows or was learnt earlier.
QMargins FrameOf(QWidget* window) {
    if (!Framed(window)) {
        return {};
    }
    if (const auto asked = RequestFrameExtents(window)) {
        return *asked;
    }
    if (window->windowHandle() != nullptr && !window->windowHandle()->frameMargins().isNull()) {
        return window->windowHandle()->frameMargins();
    }
    return learntFrame.value_or(QMargins());
}

// Learns the manager's frame from the first framed window that shows, for the
// windows shown after it, where the manager does not answer beforehand.
class LearnFrame : public QObject {
  public:
    explicit LearnFrame(QWindow* handle) : QObject(handle), handle_(handle) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            handle_->removeEventFilter(this);
            deleteLater();
            if (!handle_->frameMargins().isNull()) {
                learntFrame = handle_->frameMargins();
            }
        }
        return false;
    }

  private:
    QWindow* handle_;
};

// Places a window in its Show event: after Qt has sized it (a message box
// sizes itself there) and before the window is mapped. Placing it before the
// map, by its client rectangle, leaves the manager nothing to interpret:
// moving a mapped window is read by some managers as moving its client to
// where its frame was meant to be, which lands it a title bar too high.
class Placement : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Show || dispatching_) {
            return false;
        }
        auto* window = qobject_cast<QWidget*>(object);
        if (window == nullptr || !window->isWindow()) {
            return false;
        }
        const bool onScreen = window->property(kCentreOnScreen).toBool();
        QWidget* parent = window->parentWidget();
        const bool dialog = qobject_cast<QDialog*>(window) != nullptr && parent != nullptr &&
                            parent->window()->isVisible();
        if (!onScreen && !dialog) {
            return false;
        }
        window->setProperty(kCentreOnScreen, QVariant());
        dispatching_ = true;
        QCoreApplication::sendEvent(object, event);
        dispatching_ = false;
        QScreen* screen = dialog ? parent->window()->screen() : window->screen();
        if (screen == nullptr) {
            return true;
        }
        const QRect bounds = screen->availableGeometry();
        const QRect area = onScreen ? bounds : parent->window()->frameGeometry();
        window->setGeometry(CentredClient(window->size(), FrameOf(window), area, bounds));
        if (Framed(window) && !learntFrame && window->windowHandle() != nullptr) {
            window->windowHandle()->installEventFilter(new LearnFrame(window->windowHandle()));
        }
        return true;
    }

  private:
    bool dispatching_ = false;
};

Placement* installed = nullptr;

}  // namespace

QRect CentredClient(QSize client, QMargins frame, QRect area, QRect bounds) {
    QRect outer(QPoint(0, 0), client.grownBy(frame));
    outer.moveCenter(area.center());
    // QRect's centre rounds down for even sizes; a frame one pixel wider than
    // the area it centres on would sit a pixel left. Exact halves instead.
    outer.moveLeft(area.left() + (area.width() - outer.width()) / 2);
    outer.moveTop(area.top() + (area.height() - outer.height()) / 2);
    outer.moveLeft(
        std::max(bounds.left(), std::min(outer.left(), bounds.right() + 1 - outer.width())));
    outer.moveTop(
        std::max(bounds.top(), std::min(outer.top(), bounds.bottom() + 1 - outer.height())));
    return QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), client);
}

void InstallDialogPlacement(QApplication& app) {
    if (installed == nullptr) {
        installed = new Placement(&app);
        app.installEventFilter(installed);
    }
}

void ShowCentred(QWidget* window) {
    InstallDialogPlacement(*qApp);
    window->setProperty(kCentreOnScreen, true);
    window->show();
}

}  // namespace veltrane::ui
