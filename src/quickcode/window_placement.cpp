#include "window_placement.h"

#include <QScreen>
#include <QWidget>

namespace placement {

void CentreOnScreen(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    QRect bounds = window->frameGeometry();
    bounds.moveCenter(screen->availableGeometry().center());
    window->move(bounds.topLeft());
  }
}

}  // namespace placement
