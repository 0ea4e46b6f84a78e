// The "Vexa Web HTML Code Generator 1.2" window (Form5): seven pages of fields,
// each page building one HTML fragment that "Insert" appends to the document
// as a new last line. The fragments themselves come from html_templates.
#pragma once

#include <QDialog>

#include "generator_fields.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class TdxButton;

class TForm5 : public QDialog, public TGeneratorFields {
  Q_OBJECT

 public:
  explicit TForm5(QWidget* parent = nullptr);

  // Where the image dialog and the site chooser put their results.
  void SetPictureReference(const QString& reference) override;
  void SetLinkTarget(const QString& target) override;

  // Handlers.
  void FormShow();
  void ColorbackChange();
  void colortextChange();
  void colorlinkChange();
  void colorvlinkChange();
  void coloralinkChange();
  void backimage1Change();
  void facefontlinkChange();
  void facesizeChange();
  void linkalignChange();
  void linktextChange();
  void imagelinkChange();
  void linkurlChange();
  void intextfontsChange();
  void intextsizeChange();
  void intextcolorChange();
  void intextalignChange();
  void inimagealignChange();
  void inimageChange();
  void inimagecomChange();
  void headfontsChange();
  void headsizeChange();
  void headcolorChange();
  void headalignChange();
  void headtitleChange();
  void dxButton1Click();   // Close
  void dxButton2Click();   // Insert the page colour code
  void dxButton3Click();   // ^ background image
  void dxButton4Click();   // Insert the link code
  void dxButton5Click();   // ^ link image
  void dxButton6Click();   // Insert the text code
  void dxButton7Click();   // ^ image
  void dxButton8Click();   // Insert the image code
  void dxButton9Click();   // Insert the headline code
  void dxButton10Click();  // Line Break
  void dxButton11Click();  // Horizontal Line
  void dxButton12Click();  // Insert the line code
  void dxButton13Click();  // One-Line Text Box
  void dxButton14Click();  // Scrolling Text Box
  void dxButton15Click();  // Check Box
  void dxButton16Click();  // Radio Button
  void dxButton17Click();  // Drop Down Menu
  void dxButton18Click();  // Push Button
  void dxButton19Click();  // Insert the form code
  void dxButton20Click();  // ^ link target

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* Image1 = nullptr;
  QTabWidget* TabbedNotebook1 = nullptr;
  TdxButton* dxButton1 = nullptr;

  // Page Colors
  QLineEdit* colorback = nullptr;
  QLineEdit* colortext = nullptr;
  QLineEdit* colorlink = nullptr;
  QLineEdit* colorvlink = nullptr;
  QLineEdit* coloralink = nullptr;
  QLineEdit* backimage1 = nullptr;
  QLineEdit* codepagec = nullptr;
  TdxButton* dxButton3 = nullptr;
  TdxButton* dxButton2 = nullptr;

  // Insert Link
  QComboBox* facefontlink = nullptr;
  QLineEdit* facesize = nullptr;
  QLineEdit* linkalign = nullptr;
  QLineEdit* linktext = nullptr;
  QLineEdit* imagelink = nullptr;
  QLineEdit* linkurl = nullptr;
  QLineEdit* linkcode = nullptr;
  TdxButton* dxButton5 = nullptr;
  TdxButton* dxButton20 = nullptr;
  TdxButton* dxButton4 = nullptr;

  // Insert Text
  QComboBox* intextfonts = nullptr;
  QLineEdit* intextsize = nullptr;
  QLineEdit* intextcolor = nullptr;
  QLineEdit* intextalign = nullptr;
  QLineEdit* intextcode = nullptr;
  TdxButton* dxButton6 = nullptr;

  // Insert Image
  QLineEdit* inimagealign = nullptr;
  QLineEdit* inimage = nullptr;
  QLineEdit* inimagecom = nullptr;
  QLineEdit* inimagecode = nullptr;
  TdxButton* dxButton7 = nullptr;
  TdxButton* dxButton8 = nullptr;

  // Insert Bookmark/Headline
  QComboBox* headfonts = nullptr;
  QLineEdit* headsize = nullptr;
  QLineEdit* headcolor = nullptr;
  QLineEdit* headalign = nullptr;
  QLineEdit* headtitle = nullptr;
  QLineEdit* headcode = nullptr;
  TdxButton* dxButton9 = nullptr;

  // Line breaks
  QLineEdit* linecode = nullptr;
  TdxButton* dxButton10 = nullptr;
  TdxButton* dxButton11 = nullptr;
  TdxButton* dxButton12 = nullptr;

  // Form Field
  QLineEdit* formalign = nullptr;
  QLineEdit* formcode = nullptr;
  TdxButton* dxButton13 = nullptr;
  TdxButton* dxButton14 = nullptr;
  TdxButton* dxButton15 = nullptr;
  TdxButton* dxButton16 = nullptr;
  TdxButton* dxButton17 = nullptr;
  TdxButton* dxButton18 = nullptr;
  TdxButton* dxButton19 = nullptr;

  void BuildColorPage();
  void BuildLinkPage();
  void BuildTextPage();
  void BuildImagePage();
  void BuildHeadlinePage();
  void BuildLinePage();
  void BuildFormPage();

  void RebuildPageColorCode();
  void RebuildLinkCode();
  void RebuildTextCode();
  void RebuildImageCode();
  void RebuildHeadlineCode();

  void ChoosePicture();
  static void AppendToDocument(const QLineEdit* code);

  bool Centred_ = false;
};
