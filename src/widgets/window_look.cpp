#include "window_look.h"

#include <QDialog>
#include <QEvent>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <vector>

namespace look {
namespace {

// Watches one window until it is next on screen, and runs what waits for
// that: some only once its frame is known too. A window manager frames a
// window only when it maps it, and the window learns its frame from the moves
// and resizes that follow.
class TExposureWatch : public QObject {
 public:
  explicit TExposureWatch(QWidget* window) : QObject(window), Window_(window) {
    setObjectName(QStringLiteral("ExposureWatch"));
    window->installEventFilter(this);
  }

  static TExposureWatch* Of(QWidget* window) {
    if (auto* watch = window->findChild<TExposureWatch*>(QStringLiteral("ExposureWatch"),
                                                         Qt::FindDirectChildrenOnly)) {
      return watch;
    }
    return new TExposureWatch(window);
  }

  void Add(std::function<void()> then, bool needsFrame) {
    Waiting_.push_back({std::move(then), needsFrame});
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched != Window_ || Waiting_.empty() || !Window_->isVisible()) return false;
    if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Paint) return false;
    // Without a window manager there is no frame, and what waits for one is
    // not needed: the bounds set before the window came on screen are exact.
    const bool framed = Window_->frameGeometry() != Window_->geometry();
    // The native window works its frame out only when asked; until then it
    // sends a new place or size to the window manager as if it had none, and
    // the window lands a frame's width and title's height off.
    if (QWindow* native = Window_->windowHandle(); native != nullptr && framed) {
      native->frameMargins();
    }
    const bool onScreen = framed || IsOnScreen(Window_);
    std::vector<TWaiting> due;
    for (auto it = Waiting_.begin(); it != Waiting_.end();) {
      if (it->NeedsFrame ? framed : onScreen) {
        due.push_back(std::move(*it));
        it = Waiting_.erase(it);
      } else {
        ++it;
      }
    }
    for (const TWaiting& waiting : due) waiting.Then();
    return false;
  }

 private:
  struct TWaiting {
    std::function<void()> Then;
    bool NeedsFrame;
  };
  QWidget* Window_;
  std::vector<TWaiting> Waiting_;
};

void CentreOn(QWidget* window, const QPoint& centre) {
  QRect bounds = window->frameGeometry();
  bounds.moveCenter(centre);
  MoveFrame(window, bounds.topLeft());
}

void CentreOnScreenNow(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    CentreOn(window, screen->availableGeometry().center());
  }
}

}  // namespace

void MoveFrame(QWidget* window, const QPoint& topLeft) {
  if (window->frameGeometry().topLeft() != topLeft) window->move(topLeft);
}

bool IsOnScreen(const QWidget* window) {
  const QWindow* native = window->windowHandle();
  return window->isVisible() && native != nullptr && native->isExposed();
}

void AtNextExposure(QWidget* window, std::function<void()> then) {
  TExposureWatch::Of(window)->Add(std::move(then), true);
}

void WhenOnScreen(QWidget* window, std::function<void()> then) {
  TExposureWatch::Of(window)->Add(std::move(then), false);
}

void CentreOnScreen(QWidget* window) {
  CentreOnScreenNow(window);
  AtNextExposure(window, [window] { CentreOnScreenNow(window); });
}

void CentreOver(QWidget* window, const QWidget* owner) {
  if (owner == nullptr) return;
  CentreOn(window, owner->window()->frameGeometry().center());
  const QPointer<const QWidget> over(owner->window());
  AtNextExposure(window, [window, over] {
    if (over) CentreOn(window, over->frameGeometry().center());
  });
}

void SetOuterSize(QWidget* window, const QSize& outer) {
  const auto apply = [window, outer] {
    window->resize(outer - (window->frameGeometry().size() - window->size()));
  };
  apply();
  AtNextExposure(window, apply);
}

int ExecInFrontOf(QDialog* dialog, QWidget* owner) {
  QWidget* home = dialog->parentWidget();
  const Qt::WindowFlags flags = dialog->windowFlags();
  const bool moved = owner != nullptr && owner->window() != home;
  if (moved) dialog->setParent(owner->window(), flags);
  const int result = dialog->exec();
  if (moved) {
    owner->window()->raise();
    owner->window()->activateWindow();
    dialog->setParent(home, flags);
  }
  return result;
}

void SetColors(QWidget* window, const QColor& background, const QColor& text) {
  QPalette pal = window->palette();
  pal.setColor(QPalette::Window, background);
  if (text.isValid()) pal.setColor(QPalette::WindowText, text);
  window->setPalette(pal);
  window->setAutoFillBackground(true);
}

QLabel* AddPicture(QWidget* parent, const QString& file, const QRect& geometry) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setGeometry(geometry);
  // Decoded through Qt's JPEG plugin (libjpeg).
  picture->setPixmap(QPixmap::fromImage(QImageReader(file).read()));
  return picture;
}

}  // namespace look
