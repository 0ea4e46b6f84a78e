#include "save_prompt.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>

#include "error_guard.h"
#include "flat_button.h"
#include "main_shell.h"
#include "window_look.h"

Tfrmnotsaved::Tfrmnotsaved(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("frmnotsaved"));
  setWindowTitle(QStringLiteral("File Save"));
  setFixedSize(253, 76);

  Label1 = new QLabel(QStringLiteral("Do you want to save this file?"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setGeometry(8, 8, 237, 16);

  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(8, 30, 237, 4);

  dxButton1 = new TdxButton(QStringLiteral("Yes"), this);
  dxButton1->setObjectName(QStringLiteral("dxButton1"));
  dxButton1->setGeometry(40, 42, 75, 25);
  dxButton2 = new TdxButton(QStringLiteral("No"), this);
  dxButton2->setObjectName(QStringLiteral("dxButton2"));
  dxButton2->setGeometry(138, 42, 75, 25);

  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
}

bool Tfrmnotsaved::Ask() {
  GoOn_ = true;
  exec();
  return GoOn_;
}

void Tfrmnotsaved::dxButton1Click() {
  // A save that fails shows its error and skips the close: the question stays
  // open for another answer.
  MainShell().Save();
  // A save clears the modified flag; a cancelled save-as dialog leaves it.
  GoOn_ = MainShell().ModifiedFlag() != QLatin1String("1");
  accept();
}

void Tfrmnotsaved::dxButton2Click() {
  GoOn_ = true;
  accept();
}

void Tfrmnotsaved::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  look::CentreOnScreen(this);
}

// There is no way out of the question but its two answers.
void Tfrmnotsaved::reject() {}
