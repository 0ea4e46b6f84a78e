#include "about_box.h"
#include "window_look.h"

#include <QLabel>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font,
                  int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->adjustSize();
  label->move(left, top);
  return label;
}

QFont Face(const QString& family, QFont::StyleHint hint, int points, bool bold = false) {
  QFont font(family, points);
  font.setStyleHint(hint);
  font.setBold(bold);
  return font;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About Vexa Web Editor"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(332, 210);

  Label1 = MakeLabel(this, "Label1", QStringLiteral("Vexa Web Editor Pro"),
                     Face(QStringLiteral("Liberation Serif"), QFont::Serif, 24), 32, 16);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Version:"),
                     Face(QStringLiteral("Liberation Sans"), QFont::SansSerif, 12), 40, 64);
  Label3 = MakeLabel(this, "Label3", QStringLiteral("3.0.3"),
                     Face(QStringLiteral("Liberation Sans"), QFont::SansSerif, 10, true), 104, 65);
}

void TForm2::showEvent(QShowEvent* event) {
  // Centred over the main window each time it opens.
  look::CentreOver(this, parentWidget());
  QDialog::showEvent(event);
}
