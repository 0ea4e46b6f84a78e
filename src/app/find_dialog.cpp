#include "find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FindDialog1"));
  setWindowTitle(tr("Find"));
  setModal(false);

  auto* label = new QLabel(tr("Fi&nd what:"), this);
  Text_ = new QLineEdit(this);
  Text_->setObjectName(QStringLiteral("findtext"));
  label->setBuddy(Text_);
  WholeWord_ = new QCheckBox(tr("Match &whole word only"), this);
  WholeWord_->setObjectName(QStringLiteral("findwholeword"));
  MatchCase_ = new QCheckBox(tr("Match &case"), this);
  MatchCase_->setObjectName(QStringLiteral("findmatchcase"));

  auto* direction = new QGroupBox(tr("Direction"), this);
  auto* up = new QRadioButton(tr("&Up"), direction);
  Down_ = new QRadioButton(tr("&Down"), direction);
  Down_->setObjectName(QStringLiteral("finddown"));
  Down_->setChecked(true);
  auto* dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(up);
  dirLayout->addWidget(Down_);

  auto* findNext = new QPushButton(tr("&Find Next"), this);
  findNext->setObjectName(QStringLiteral("findnext"));
  findNext->setDefault(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);

  auto* grid = new QGridLayout;
  grid->addWidget(label, 0, 0);
  grid->addWidget(Text_, 0, 1, 1, 2);
  grid->addWidget(WholeWord_, 1, 0, 1, 2);
  grid->addWidget(MatchCase_, 2, 0, 1, 2);
  grid->addWidget(direction, 1, 2, 2, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(findNext);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  connect(findNext, &QPushButton::clicked, this, &TFindDialog::FindNext);
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
  connect(Text_, &QLineEdit::textChanged, findNext,
          [findNext](const QString& text) { findNext->setEnabled(!text.isEmpty()); });
  findNext->setEnabled(false);
}

QString TFindDialog::FindText() const { return Text_->text(); }
void TFindDialog::SetFindText(const QString& text) { Text_->setText(text); }
bool TFindDialog::MatchCase() const { return MatchCase_->isChecked(); }
bool TFindDialog::WholeWord() const { return WholeWord_->isChecked(); }
bool TFindDialog::Down() const { return Down_->isChecked(); }
