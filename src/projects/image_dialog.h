// The "Insert image" window (ImageInsert): picks a picture anywhere on the
// machine, copies it into the project's "images" folder and hands the
// site-relative reference to the code generator's field for its current page.
#pragma once

#include <QDialog>

class QLineEdit;
class TDriveList;
class TFileList;
class TFolderList;
class TGeneratorFields;
class TdxButton;

class TImageInsert : public QDialog {
  Q_OBJECT

 public:
  explicit TImageInsert(QWidget* parent = nullptr);

  // Shows the dialog modally; "Ok" fills the picture field that `fields`
  // offers at that moment.
  void ShowModalFor(TGeneratorFields& fields);

  // Handlers.
  void FormShow();
  void Drive1Change();
  void Dir1Change();
  void File1Change();
  void dxButton1Click();  // Ok
  void dxButton2Click();  // Close

 public slots:
  // Escape leaves the dialog as "Close" does.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TDriveList* Drive1 = nullptr;
  TFolderList* Dir1 = nullptr;
  TFileList* File1 = nullptr;
  QLineEdit* Edit1 = nullptr;  // the picked picture
  QLineEdit* Edit2 = nullptr;  // where it goes in the project
  QLineEdit* Edit3 = nullptr;  // the reference handed back
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  TGeneratorFields* Fields_ = nullptr;
};

namespace siteassets {

// Both dialogs work inside the open project only: "Ok" is offered while one is
// open; otherwise the user is told so and "Ok" is disabled.
void OfferOkForProject(QWidget* dialog, TdxButton* ok);

}  // namespace siteassets
