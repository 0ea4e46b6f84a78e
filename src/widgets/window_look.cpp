#include "window_look.h"

#include <QDialog>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace look {

void CentreOnScreen(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    QRect bounds = window->frameGeometry();
    bounds.moveCenter(screen->availableGeometry().center());
    window->move(bounds.topLeft());
  }
}

void CentreOver(QWidget* window, const QWidget* owner) {
  if (owner == nullptr) return;
  QRect bounds = window->frameGeometry();
  bounds.moveCenter(owner->window()->frameGeometry().center());
  window->move(bounds.topLeft());
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
