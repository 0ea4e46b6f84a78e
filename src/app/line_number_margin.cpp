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
  setAttribute(Qt::WA_NoSystemBackground);
  setFont(Editor_->font());
  Send(Editor_, QsciScintillaBase::SCI_SETMARGINTYPEN, kMargin,
       QsciScintillaBase::SC_MARGIN_COLOUR);
  Send(Editor_, QsciScintillaBase::SCI_SETMARGINBACKN, kMargin,
       kBack.red() | kBack.green() << 8 | kBack.blue() << 16);
  Editor_->viewport()->installEventFilter(this);
  connect(Editor_, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
    if (!Shown_) return;
    if (updated & QsciScintillaBase::SC_UPDATE_CONTENT) Fit();
    if (updated & (QsciScintillaBase::SC_UPDATE_V_SCROLL | QsciScintillaBase::SC_UPDATE_CONTENT)) {
      update();
    }
  });
  hide();
}

void TLineNumberMargin::SetShown(bool on) {
  Shown_ = on;
  Digits_ = 0;
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
}

bool TLineNumberMargin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange) {
    setFont(Editor_->font());
    Digits_ = 0;
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

void TLineNumberMargin::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(Editor_->font());
  painter.setPen(kFore);
  const int height = static_cast<int>(Send(Editor_, QsciScintillaBase::SCI_TEXTHEIGHT, 0));
  const int right = width() - kPadding;
  for (const QPair<int, int>& n : NumbersInView()) {
    painter.drawText(QRect(0, n.second, right, height), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(n.first));
  }
}
