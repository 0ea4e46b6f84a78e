#include "tidy_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TTidyDialog::TTidyDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TidyDialog1"));
  setWindowTitle(tr("Tidy Page"));
  tidyindent = new QCheckBox(tr("&Indent nested elements"), this);
  tidyindent->setObjectName(QStringLiteral("tidyindent"));
  tidyspaces = new QSpinBox(this);
  tidyspaces->setObjectName(QStringLiteral("tidyspaces"));
  tidyspaces->setRange(0, 8);
  tidytabs = new QCheckBox(tr("Indent with &tabs"), this);
  tidytabs->setObjectName(QStringLiteral("tidytabs"));
  tidybreaks = new QCheckBox(tr("Keep the &line breaks inside text"), this);
  tidybreaks->setObjectName(QStringLiteral("tidybreaks"));
  auto* always = new QLabel(
      tr("Long lines are never wrapped. The doctype, the case of tags and attributes, and PHP "
         "and ASP blocks stay as they are. When HTML Tidy finds errors it cannot repair, the "
         "page stays as it is and the problems are listed. Edit > Undo takes the change back."),
      this);
  always->setWordWrap(true);
  tidyok = new QPushButton(tr("&Tidy"), this);
  tidyok->setObjectName(QStringLiteral("tidyok"));
  tidyok->setDefault(true);
  tidycancel = new QPushButton(tr("Cancel"), this);
  tidycancel->setObjectName(QStringLiteral("tidycancel"));

  auto* spaces = new QFormLayout;
  spaces->addRow(tr("Indent &spaces:"), tidyspaces);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(tidyok);
  buttons->addWidget(tidycancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tidyindent);
  layout->addLayout(spaces);
  layout->addWidget(tidytabs);
  layout->addWidget(tidybreaks);
  layout->addWidget(always);
  layout->addStretch(1);
  layout->addLayout(buttons);
  setFixedWidth(380);

  connect(tidyok, &QPushButton::clicked, this, &QDialog::accept);
  connect(tidycancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(tidyindent, &QCheckBox::toggled, this, [this](bool on) {
    tidyspaces->setEnabled(on);
    tidytabs->setEnabled(on);
  });
}

void TTidyDialog::SetOptions(const check::TTidyOptions& o) {
  tidyindent->setChecked(o.Indent);
  tidyspaces->setValue(o.IndentSpaces);
  tidytabs->setChecked(o.IndentWithTabs);
  tidybreaks->setChecked(o.KeepLineBreaks);
  tidyspaces->setEnabled(o.Indent);
  tidytabs->setEnabled(o.Indent);
}

check::TTidyOptions TTidyDialog::Options() const {
  check::TTidyOptions o;
  o.Indent = tidyindent->isChecked();
  o.IndentSpaces = tidyspaces->value();
  o.IndentWithTabs = tidytabs->isChecked();
  o.KeepLineBreaks = tidybreaks->isChecked();
  return o;
}
