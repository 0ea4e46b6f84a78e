#include "replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TReplaceDialog::TReplaceDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ReplaceDialog1"));
  setWindowTitle(tr("Replace"));
  setModal(false);

  auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
  Find_ = new QLineEdit(this);
  Find_->setObjectName(QStringLiteral("replacefind"));
  findLabel->setBuddy(Find_);
  auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
  Replacement_ = new QLineEdit(this);
  Replacement_->setObjectName(QStringLiteral("replacewith"));
  replaceLabel->setBuddy(Replacement_);
  WholeWord_ = new QCheckBox(tr("Match &whole word only"), this);
  WholeWord_->setObjectName(QStringLiteral("replacewholeword"));
  MatchCase_ = new QCheckBox(tr("Match &case"), this);
  MatchCase_->setObjectName(QStringLiteral("replacematchcase"));
  RegularExpression_ = new QCheckBox(tr("Regular e&xpression"), this);
  RegularExpression_->setObjectName(QStringLiteral("replaceregexp"));

  auto* direction = new QGroupBox(tr("Direction"), this);
  auto* up = new QRadioButton(tr("&Up"), direction);
  up->setObjectName(QStringLiteral("replaceup"));
  Down_ = new QRadioButton(tr("&Down"), direction);
  Down_->setObjectName(QStringLiteral("replacedown"));
  Down_->setChecked(true);
  auto* dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(up);
  dirLayout->addWidget(Down_);

  auto button = [this](const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    return b;
  };
  QPushButton* findNext = button(tr("&Find Next"), "replacefindnext");
  findNext->setDefault(true);
  QPushButton* replace = button(tr("&Replace"), "replaceone");
  QPushButton* replaceAll = button(tr("Replace &All"), "replaceall");
  QPushButton* close = button(tr("Close"), "replaceclose");

  auto* grid = new QGridLayout;
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(Find_, 0, 1, 1, 2);
  grid->addWidget(replaceLabel, 1, 0);
  grid->addWidget(Replacement_, 1, 1, 1, 2);
  grid->addWidget(WholeWord_, 2, 0, 1, 2);
  grid->addWidget(MatchCase_, 3, 0, 1, 2);
  grid->addWidget(RegularExpression_, 4, 0, 1, 2);
  grid->addWidget(direction, 2, 2, 3, 1);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {findNext, replace, replaceAll, close}) buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  connect(findNext, &QPushButton::clicked, this, &TReplaceDialog::FindNext);
  connect(replace, &QPushButton::clicked, this, &TReplaceDialog::Replace);
  connect(replaceAll, &QPushButton::clicked, this, &TReplaceDialog::ReplaceAll);
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  // Nothing to search for, nothing to do.
  auto enable = [findNext, replace, replaceAll](const QString& text) {
    for (QPushButton* b : {findNext, replace, replaceAll}) b->setEnabled(!text.isEmpty());
  };
  connect(Find_, &QLineEdit::textChanged, this, enable);
  enable(QString());
}

QString TReplaceDialog::FindText() const { return Find_->text(); }
QString TReplaceDialog::ReplaceText() const { return Replacement_->text(); }
bool TReplaceDialog::MatchCase() const { return MatchCase_->isChecked(); }
bool TReplaceDialog::WholeWord() const { return WholeWord_->isChecked(); }
bool TReplaceDialog::RegularExpression() const { return RegularExpression_->isChecked(); }
bool TReplaceDialog::Down() const { return Down_->isChecked(); }
