#include "line_number_margin.h"

#include <Qsci/qsciscintilla.h>
#include <QEvent>
#include <QPainter>

namespace {

constexpr int kMargin = 0;
constexpr int kPadding = 4;
const QColor kBack(236, 236, 236);
const QColor kFore(96, 96, 96);

long Send(QsciScintilla* e, unsigned int message, unsigned long w = 0, long l = 0) {
  return e->SendScintilla(message, w, l);
}

}  // namespace

TLineNumberMargin::TLineNumberMargin(QsciScintilla* editor)
    : QWidget(editor->viewport()), Editor_(editor) {
  setObjectName(QStringLiteral("LineNumbers"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // The widget paints all of itself: what lies below it is never drawn for it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFont(Editor_->font());
  Send(Editor_, QsciScintillaBase::SCI_SETMARGINTYPEN, kMargin,
       QsciScintillaBase::SC_MARGIN_COLOUR);
  Send(Editor_, QsciScintillaBase::SCI_SETMARGINBACKN, kMargin,
       kBack.red() | kBack.green() << 8 | kBack.blue() << 16);
  Editor_->viewport()->installEventFilter(this);
  connect(Editor_, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
    if (!Shown_) return;
    if (updated & QsciScintillaBase::SC_UPDATE_CONTENT) Fit();
    // Drawn again only when other numbers come into view.
    if (ViewKey() != Drawn_) update();
  });
  hide();
}

void TLineNumberMargin::SetShown(bool on) {
  Shown_ = on;
  Digits_ = 0;
  Drawn_.clear();
  if (on) {
    Fit();
    show();
  } else {
    Send(Editor_, QsciScintillaBase::SCI_SETMARGINWIDTHN, kMargin, 0);
    hide();
  }
}

void TLineNumberMargin::Fit() {
  // Two digits at least, so the margin does not jump at the tenth line.
  const long last = Send(Editor_, QsciScintillaBase::SCI_GETLINECOUNT) - 1;
  int digits = 2;
  for (long n = last; n >= 100; n /= 10) ++digits;
  if (digits == Digits_) return;
  Digits_ = digits;
  const int width =
      fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('9'))) + 2 * kPadding;
  Send(Editor_, QsciScintillaBase::SCI_SETMARGINWIDTHN, kMargin, static_cast<unsigned long>(width));
  setGeometry(0, 0, width, Editor_->viewport()->height());
  Drawn_.clear();
}

bool TLineNumberMargin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange) {
    setFont(Editor_->font());
    Digits_ = 0;
    Drawn_.clear();
    if (Shown_) Fit();
  }
  return QWidget::eventFilter(watched, event);
}

QList<QPair<int, int>> TLineNumberMargin::NumbersInView() const {
  QList<QPair<int, int>> numbers;
  const long lines = Send(Editor_, QsciScintillaBase::SCI_GETLINECOUNT);
  const long first = Send(Editor_, QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
  const long height = Send(Editor_, QsciScintillaBase::SCI_TEXTHEIGHT, 0);
  const bool wrapped = Send(Editor_, QsciScintillaBase::SCI_GETWRAPMODE) != 0;
  if (height <= 0) return numbers;
  const long rows = Editor_->viewport()->height() / height + 1;
  for (long row = 0; row < rows; ++row) {
    // Wrapped lines take several rows; the number stands on the first.
    long line = first + row;
    if (wrapped) {
      line = Send(Editor_, QsciScintillaBase::SCI_DOCLINEFROMVISIBLE,
                  static_cast<unsigned long>(first + row));
      if (Send(Editor_, QsciScintillaBase::SCI_VISIBLEFROMDOCLINE,
               static_cast<unsigned long>(line)) != first + row) {
        continue;
      }
    }
    if (line >= lines) break;
    numbers.append({static_cast<int>(line), static_cast<int>(row * height)});
  }
  return numbers;
}

QList<QPair<int, int>> TLineNumberMargin::ViewKey() const {
  // The numbers in view and the place of each: the picture changes with them alone.
  return NumbersInView();
}

void TLineNumberMargin::paintEvent(QPaintEvent*) {
  const QList<QPair<int, int>> numbers = ViewKey();
  const qreal ratio = devicePixelRatioF();
  if (numbers != Drawn_ || Picture_.size() != size() * ratio) {
    // Drawn once for the lines in view, then only copied while they stay.
    Picture_ = QPixmap(size() * ratio);
    Picture_.setDevicePixelRatio(ratio);
    Picture_.fill(kBack);
    QPainter painter(&Picture_);
    painter.setFont(Editor_->font());
    painter.setPen(kFore);
    const int height = static_cast<int>(Send(Editor_, QsciScintillaBase::SCI_TEXTHEIGHT, 0));
    const int right = width() - kPadding;
    for (const QPair<int, int>& n : numbers) {
      painter.drawText(QRect(0, n.second, right, height), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(n.first));
    }
    Drawn_ = numbers;
  }
  QPainter(this).drawPixmap(0, 0, Picture_);
}
