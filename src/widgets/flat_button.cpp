#include "flat_button.h"

#include <QKeyEvent>
#include <QPainter>

TdxButton::TdxButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
  setText(caption);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
}

QSize TdxButton::sizeHint() const {
  const QFontMetrics fm(font());
  return QSize(fm.horizontalAdvance(text()) + 16, fm.height() + 8);
}

void TdxButton::keyPressEvent(QKeyEvent* event) {
  // Enter clicks the focused button as Space does.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    animateClick();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void TdxButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const QRect r = rect().adjusted(0, 0, -1, -1);

  QColor face = pal.color(QPalette::Button);
  QColor border = pal.color(QPalette::Mid);
  if (!isEnabled()) {
    face = pal.color(QPalette::Window);
  } else if (isDown()) {
    face = pal.color(QPalette::Highlight).lighter(160);
    border = pal.color(QPalette::Highlight);
  } else if (underMouse()) {
    face = pal.color(QPalette::Highlight).lighter(185);
    border = pal.color(QPalette::Highlight);
  }
  p.fillRect(r, face);
  p.setPen(border);
  p.drawRect(r);

  if (hasFocus()) {
    QPen focus(pal.color(QPalette::Highlight));
    focus.setStyle(Qt::DotLine);
    p.setPen(focus);
    p.drawRect(r.adjusted(2, 2, -2, -2));
  }

  p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  const QRect textRect = isDown() ? r.translated(1, 1) : r;
  p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}
