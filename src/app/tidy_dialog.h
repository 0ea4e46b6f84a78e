// The options of Tidy Page, shown before it runs and kept in the settings
// file's section "Vexa Tidy"; what Tidy Page always does is said beside them.
#pragma once

#include <QDialog>

#include "tidy_page.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

class TTidyDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TTidyDialog(QWidget* parent = nullptr);

  void SetOptions(const check::TTidyOptions& options);
  check::TTidyOptions Options() const;

 private:
  QCheckBox* tidyindent = nullptr;
  QSpinBox* tidyspaces = nullptr;
  QCheckBox* tidytabs = nullptr;
  QCheckBox* tidybreaks = nullptr;
  QPushButton* tidyok = nullptr;
  QPushButton* tidycancel = nullptr;
};
