#include "two_line_tabs.h"

#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

namespace {

class TTwoLineTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override {
    QStyleOptionTab option;
    initStyleOption(&option, index);
    const QSize text =
        fontMetrics().size(Qt::TextShowMnemonic, TTwoLineTabs::Drawn(tabText(index)));
    // A narrow margin of its own beside the text: the style's wider one is
    // what made the captions too long for the window.
    const int margin = fontMetrics().averageCharWidth();
    const QSize space(2 * margin, style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, text + space, this);
  }
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    // The current tab last, so its frame lies over its neighbours'.
    for (int i = 0; i < count(); ++i) {
      if (i != currentIndex()) DrawTab(painter, i);
    }
    if (currentIndex() >= 0) DrawTab(painter, currentIndex());
  }

 private:
  void DrawTab(QStylePainter& painter, int index) const {
    // The style draws the tab; its label is drawn here, over the whole tab,
    // since the style's label keeps wider margins than these tabs have.
    QStyleOptionTab option;
    initStyleOption(&option, index);
    painter.drawControl(QStyle::CE_TabBarTabShape, option);
    painter.drawItemText(option.rect, Qt::AlignCenter | Qt::TextShowMnemonic, option.palette,
                         isTabEnabled(index), TTwoLineTabs::Drawn(option.text),
                         QPalette::WindowText);
  }
};

}  // namespace

TTwoLineTabs::TTwoLineTabs(QWidget* parent) : QTabWidget(parent) {
  auto* bar = new TTwoLineTabBar(this);
  bar->setElideMode(Qt::ElideNone);
  bar->setUsesScrollButtons(false);
  bar->setExpanding(false);
  setTabBar(bar);
}

QString TTwoLineTabs::Drawn(const QString& caption) {
  QString text = caption;
  const qsizetype blank = text.indexOf(QLatin1Char(' '));
  if (blank > 0) text[blank] = QLatin1Char('\n');
  return text;
}
