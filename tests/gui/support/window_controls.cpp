#include "window_controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include "about_box.h"
#include "code_generator_window.h"
#include "editor_control.h"
#include "file_lists.h"
#include "flat_button.h"
#include "help_window.h"
#include "image_dialog.h"
#include "list_box.h"
#include "list_chooser.h"
#include "list_editor.h"
#include "list_picker.h"
#include "main_window.h"
#include "manager_window.h"
#include "preview_window.h"
#include "projects_dialog.h"
#include "save_prompt.h"
#include "site_chooser.h"
#include "splash_window.h"
#include "web_browser.h"

QObject* FindControl(const QObject& window, const QString& name, const QMetaObject& type) {
  QList<QObject*> found;
  QList<const QObject*> pending{&window};
  while (!pending.isEmpty()) {
    const QObject* parent = pending.takeFirst();
    for (QObject* child : parent->children()) {
      if (child->objectName() == name && type.cast(child) != nullptr) found << child;
      // Dialogs owned by a window are windows of their own, with controls of
      // their own; a popup menu is a control that is a window too.
      auto* widget = qobject_cast<QWidget*>(child);
      if (widget == nullptr || !widget->isWindow()) pending << child;
    }
  }
  if (found.size() != 1) {
    qFatal("%s has %d controls named %s of type %s", qPrintable(window.objectName()),
           static_cast<int>(found.size()), qPrintable(name), type.className());
  }
  return found.first();
}

TForm1Controls Controls(const TForm1& window) {
  TForm1Controls c;
  c.Edit1 = Control<TEditorControl>(window, QStringLiteral("Edit1"));
  c.lblsaved = Control<QLabel>(window, QStringLiteral("lblsaved"));
  c.prodir1 = Control<QLabel>(window, QStringLiteral("prodir1"));
  c.graphicdir = Control<QLineEdit>(window, QStringLiteral("graphicdir"));
  c.vwthcpath1 = Control<QLineEdit>(window, QStringLiteral("vwthcpath1"));
  c.lineedit = Control<QLineEdit>(window, QStringLiteral("lineedit"));
  c.gotoline1 = Control<QPushButton>(window, QStringLiteral("gotoline1"));
  c.synlist = Control<QComboBox>(window, QStringLiteral("synlist"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  c.Check1 = Control<QCheckBox>(window, QStringLiteral("Check1"));
  c.CheckBox1 = Control<QCheckBox>(window, QStringLiteral("CheckBox1"));
  c.CheckBox2 = Control<QCheckBox>(window, QStringLiteral("CheckBox2"));
  c.Timer1 = Control<QTimer>(window, QStringLiteral("Timer1"));
  c.ActionMainMenuBar1 = Control<QMenuBar>(window, QStringLiteral("ActionMainMenuBar1"));
  c.ActionToolBar1 = Control<QToolBar>(window, QStringLiteral("ActionToolBar1"));
  c.ActionToolBar2 = Control<QWidget>(window, QStringLiteral("ActionToolBar2"));
  c.PopupMenu1 = Control<QMenu>(window, QStringLiteral("PopupMenu1"));
  c.Action1 = Control<QAction>(window, QStringLiteral("Action1"));
  c.Action2 = Control<QAction>(window, QStringLiteral("Action2"));
  c.FileOpen1 = Control<QAction>(window, QStringLiteral("FileOpen1"));
  c.FileSaveAs1 = Control<QAction>(window, QStringLiteral("FileSaveAs1"));
  c.Action7 = Control<QAction>(window, QStringLiteral("Action7"));
  c.FileExit1 = Control<QAction>(window, QStringLiteral("FileExit1"));
  c.EditCopy1 = Control<QAction>(window, QStringLiteral("EditCopy1"));
  c.EditCut1 = Control<QAction>(window, QStringLiteral("EditCut1"));
  c.EditPaste1 = Control<QAction>(window, QStringLiteral("EditPaste1"));
  c.SearchFind1 = Control<QAction>(window, QStringLiteral("SearchFind1"));
  c.SearchReplace1 = Control<QAction>(window, QStringLiteral("SearchReplace1"));
  c.Action9 = Control<QAction>(window, QStringLiteral("Action9"));
  c.mengraphic = Control<QAction>(window, QStringLiteral("mengraphic"));
  c.Action3 = Control<QAction>(window, QStringLiteral("Action3"));
  c.Action4 = Control<QAction>(window, QStringLiteral("Action4"));
  c.Action6 = Control<QAction>(window, QStringLiteral("Action6"));
  c.Action5 = Control<QAction>(window, QStringLiteral("Action5"));
  c.Action8 = Control<QAction>(window, QStringLiteral("Action8"));
  return c;
}

TForm2Controls Controls(const TForm2& window) {
  TForm2Controls c;
  c.Label1 = Control<QLabel>(window, QStringLiteral("Label1"));
  c.Label2 = Control<QLabel>(window, QStringLiteral("Label2"));
  c.Label3 = Control<QLabel>(window, QStringLiteral("Label3"));
  return c;
}

TForm3Controls Controls(const TForm3& window) {
  TForm3Controls c;
  c.Timer1 = Control<QTimer>(window, QStringLiteral("Timer1"));
  c.Image1 = Control<QLabel>(window, QStringLiteral("Image1"));
  c.Label1 = Control<QLabel>(window, QStringLiteral("Label1"));
  c.Label2 = Control<QLabel>(window, QStringLiteral("Label2"));
  return c;
}

TForm4Controls Controls(const TForm4& window) {
  TForm4Controls c;
  c.MainMenu1 = Control<QToolBar>(window, QStringLiteral("MainMenu1"));
  c.ShowCodeWindow1 = Control<QAction>(window, QStringLiteral("ShowCodeWindow1"));
  c.CodeGenerator1 = Control<QAction>(window, QStringLiteral("CodeGenerator1"));
  c.Back1 = Control<QAction>(window, QStringLiteral("Back1"));
  c.Forward1 = Control<QAction>(window, QStringLiteral("Forward1"));
  c.OutlineCaret1 = Control<QAction>(window, QStringLiteral("OutlineCaret1"));
  c.WebBrowser1 = Control<TWebBrowser>(window, QStringLiteral("WebBrowser1"));
  c.StatusBar1 = Control<QStatusBar>(window, QStringLiteral("StatusBar1"));
  c.CaretHint1 = Control<QLabel>(window, QStringLiteral("CaretHint1"));
  return c;
}

Tfrmhelp1Controls Controls(const Tfrmhelp1& window) {
  Tfrmhelp1Controls c;
  c.WebBrowser1 = Control<TWebBrowser>(window, QStringLiteral("WebBrowser1"));
  return c;
}

TfrmnotsavedControls Controls(const Tfrmnotsaved& window) {
  TfrmnotsavedControls c;
  c.Label1 = Control<QLabel>(window, QStringLiteral("Label1"));
  c.Bevel1 = Control<QFrame>(window, QStringLiteral("Bevel1"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  return c;
}

TForm5Controls Controls(const TForm5& window) {
  TForm5Controls c;
  c.Image1 = Control<QLabel>(window, QStringLiteral("Image1"));
  c.TabbedNotebook1 = Control<QTabWidget>(window, QStringLiteral("TabbedNotebook1"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.colorback = Control<QLineEdit>(window, QStringLiteral("colorback"));
  c.colortext = Control<QLineEdit>(window, QStringLiteral("colortext"));
  c.colorlink = Control<QLineEdit>(window, QStringLiteral("colorlink"));
  c.colorvlink = Control<QLineEdit>(window, QStringLiteral("colorvlink"));
  c.coloralink = Control<QLineEdit>(window, QStringLiteral("coloralink"));
  c.backimage1 = Control<QLineEdit>(window, QStringLiteral("backimage1"));
  c.codepagec = Control<QLineEdit>(window, QStringLiteral("codepagec"));
  c.dxButton3 = Control<TdxButton>(window, QStringLiteral("dxButton3"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  c.facefontlink = Control<QComboBox>(window, QStringLiteral("facefontlink"));
  c.facesize = Control<QLineEdit>(window, QStringLiteral("facesize"));
  c.linkalign = Control<QLineEdit>(window, QStringLiteral("linkalign"));
  c.linktext = Control<QLineEdit>(window, QStringLiteral("linktext"));
  c.imagelink = Control<QLineEdit>(window, QStringLiteral("imagelink"));
  c.linkurl = Control<QLineEdit>(window, QStringLiteral("linkurl"));
  c.linkcode = Control<QLineEdit>(window, QStringLiteral("linkcode"));
  c.dxButton5 = Control<TdxButton>(window, QStringLiteral("dxButton5"));
  c.dxButton20 = Control<TdxButton>(window, QStringLiteral("dxButton20"));
  c.dxButton4 = Control<TdxButton>(window, QStringLiteral("dxButton4"));
  c.intextfonts = Control<QComboBox>(window, QStringLiteral("intextfonts"));
  c.intextsize = Control<QLineEdit>(window, QStringLiteral("intextsize"));
  c.intextcolor = Control<QLineEdit>(window, QStringLiteral("intextcolor"));
  c.intextalign = Control<QLineEdit>(window, QStringLiteral("intextalign"));
  c.intextcode = Control<QLineEdit>(window, QStringLiteral("intextcode"));
  c.dxButton6 = Control<TdxButton>(window, QStringLiteral("dxButton6"));
  c.inimagealign = Control<QLineEdit>(window, QStringLiteral("inimagealign"));
  c.inimage = Control<QLineEdit>(window, QStringLiteral("inimage"));
  c.inimagecom = Control<QLineEdit>(window, QStringLiteral("inimagecom"));
  c.inimagecode = Control<QLineEdit>(window, QStringLiteral("inimagecode"));
  c.dxButton7 = Control<TdxButton>(window, QStringLiteral("dxButton7"));
  c.dxButton8 = Control<TdxButton>(window, QStringLiteral("dxButton8"));
  c.headfonts = Control<QComboBox>(window, QStringLiteral("headfonts"));
  c.headsize = Control<QLineEdit>(window, QStringLiteral("headsize"));
  c.headcolor = Control<QLineEdit>(window, QStringLiteral("headcolor"));
  c.headalign = Control<QLineEdit>(window, QStringLiteral("headalign"));
  c.headtitle = Control<QLineEdit>(window, QStringLiteral("headtitle"));
  c.headcode = Control<QLineEdit>(window, QStringLiteral("headcode"));
  c.dxButton9 = Control<TdxButton>(window, QStringLiteral("dxButton9"));
  c.linecode = Control<QLineEdit>(window, QStringLiteral("linecode"));
  c.dxButton10 = Control<TdxButton>(window, QStringLiteral("dxButton10"));
  c.dxButton11 = Control<TdxButton>(window, QStringLiteral("dxButton11"));
  c.dxButton12 = Control<TdxButton>(window, QStringLiteral("dxButton12"));
  c.formalign = Control<QLineEdit>(window, QStringLiteral("formalign"));
  c.formcode = Control<QLineEdit>(window, QStringLiteral("formcode"));
  c.dxButton13 = Control<TdxButton>(window, QStringLiteral("dxButton13"));
  c.dxButton14 = Control<TdxButton>(window, QStringLiteral("dxButton14"));
  c.dxButton15 = Control<TdxButton>(window, QStringLiteral("dxButton15"));
  c.dxButton16 = Control<TdxButton>(window, QStringLiteral("dxButton16"));
  c.dxButton17 = Control<TdxButton>(window, QStringLiteral("dxButton17"));
  c.dxButton18 = Control<TdxButton>(window, QStringLiteral("dxButton18"));
  c.dxButton19 = Control<TdxButton>(window, QStringLiteral("dxButton19"));
  return c;
}

TfrmprojectsControls Controls(const Tfrmprojects& window) {
  TfrmprojectsControls c;
  c.Image1 = Control<QLabel>(window, QStringLiteral("Image1"));
  c.TabbedNotebook1 = Control<QTabWidget>(window, QStringLiteral("TabbedNotebook1"));
  c.projecttitle = Control<QLineEdit>(window, QStringLiteral("projecttitle"));
  c.Label1 = Control<QLabel>(window, QStringLiteral("Label1"));
  c.Drive1 = Control<TDriveList>(window, QStringLiteral("Drive1"));
  c.Dir1 = Control<TFolderList>(window, QStringLiteral("Dir1"));
  c.Edit1 = Control<QLineEdit>(window, QStringLiteral("Edit1"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  c.Label2 = Control<QLabel>(window, QStringLiteral("Label2"));
  c.FileListBox1 = Control<TFileList>(window, QStringLiteral("FileListBox1"));
  c.Edit2 = Control<QLineEdit>(window, QStringLiteral("Edit2"));
  c.dxButton4 = Control<TdxButton>(window, QStringLiteral("dxButton4"));
  c.dxButton3 = Control<TdxButton>(window, QStringLiteral("dxButton3"));
  c.dxButton5 = Control<TdxButton>(window, QStringLiteral("dxButton5"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  return c;
}

TImageInsertControls Controls(const TImageInsert& window) {
  TImageInsertControls c;
  c.Drive1 = Control<TDriveList>(window, QStringLiteral("Drive1"));
  c.Dir1 = Control<TFolderList>(window, QStringLiteral("Dir1"));
  c.File1 = Control<TFileList>(window, QStringLiteral("File1"));
  c.Edit1 = Control<QLineEdit>(window, QStringLiteral("Edit1"));
  c.Edit2 = Control<QLineEdit>(window, QStringLiteral("Edit2"));
  c.Edit3 = Control<QLineEdit>(window, QStringLiteral("Edit3"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  return c;
}

TForm8Controls Controls(const TForm8& window) {
  TForm8Controls c;
  c.Label1 = Control<QLabel>(window, QStringLiteral("Label1"));
  c.Button1 = Control<QPushButton>(window, QStringLiteral("Button1"));
  c.Button2 = Control<QPushButton>(window, QStringLiteral("Button2"));
  c.FileListBox1 = Control<TFileList>(window, QStringLiteral("FileListBox1"));
  c.Edit1 = Control<QLineEdit>(window, QStringLiteral("Edit1"));
  c.Edit2 = Control<QLineEdit>(window, QStringLiteral("Edit2"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  return c;
}

TfrmmanagerControls Controls(const Tfrmmanager& window) {
  TfrmmanagerControls c;
  c.PageControl1 = Control<QTabWidget>(window, QStringLiteral("PageControl1"));
  c.TabSheet1 = Control<QWidget>(window, QStringLiteral("TabSheet1"));
  c.TabSheet2 = Control<QWidget>(window, QStringLiteral("TabSheet2"));
  c.TabSheet3 = Control<QWidget>(window, QStringLiteral("TabSheet3"));
  c.FileListBox1 = Control<TFileList>(window, QStringLiteral("FileListBox1"));
  c.dxButton4 = Control<TdxButton>(window, QStringLiteral("dxButton4"));
  c.ListBox1 = Control<TListBox>(window, QStringLiteral("ListBox1"));
  c.ListBox2 = Control<TListBox>(window, QStringLiteral("ListBox2"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  c.dxButton3 = Control<TdxButton>(window, QStringLiteral("dxButton3"));
  c.ToolBar1 = Control<QToolBar>(window, QStringLiteral("ToolBar1"));
  for (int i = 0; i < 6; ++i) {
    c.ToolButton[i] = Control<QToolButton>(window, QStringLiteral("ToolButton%1").arg(i + 1));
  }
  for (int i = 0; i < 11; ++i) {
    c.Button[i] = Control<QPushButton>(window, QStringLiteral("Button%1").arg(i + 1));
  }
  c.showprcheck = Control<QCheckBox>(window, QStringLiteral("showprcheck"));
  c.showmanagercheck = Control<QCheckBox>(window, QStringLiteral("showmanagercheck"));
  c.showpreviewcheck = Control<QCheckBox>(window, QStringLiteral("showpreviewcheck"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.Edit1 = Control<QLineEdit>(window, QStringLiteral("Edit1"));
  c.Timer1 = Control<QTimer>(window, QStringLiteral("Timer1"));
  return c;
}

TfrmopenlistsControls Controls(const Tfrmopenlists& window) {
  TfrmopenlistsControls c;
  c.Edit1 = Control<QLineEdit>(window, QStringLiteral("Edit1"));
  c.Edit2 = Control<QLineEdit>(window, QStringLiteral("Edit2"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  c.dxButton3 = Control<TdxButton>(window, QStringLiteral("dxButton3"));
  return c;
}

TfrmneweditControls Controls(const Tfrmnewedit& window) {
  TfrmneweditControls c;
  c.ListBox1 = Control<TListBox>(window, QStringLiteral("ListBox1"));
  c.Edit1 = Control<QLineEdit>(window, QStringLiteral("Edit1"));
  c.ListBox2 = Control<TListBox>(window, QStringLiteral("ListBox2"));
  c.LabeledEdit1Label = Control<QLabel>(window, QStringLiteral("LabeledEdit1Label"));
  c.LabeledEdit1 = Control<QLineEdit>(window, QStringLiteral("LabeledEdit1"));
  c.dxButton3 = Control<TdxButton>(window, QStringLiteral("dxButton3"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  c.dxButton4 = Control<TdxButton>(window, QStringLiteral("dxButton4"));
  c.dxButton5 = Control<TdxButton>(window, QStringLiteral("dxButton5"));
  c.dxButton6 = Control<TdxButton>(window, QStringLiteral("dxButton6"));
  return c;
}

TListPickerControls Controls(const TListPicker& window) {
  TListPickerControls c;
  c.FileListBox1 = Control<TFileList>(window, QStringLiteral("FileListBox1"));
  c.Edit1 = Control<QLineEdit>(window, QStringLiteral("Edit1"));
  c.dxButton1 = Control<TdxButton>(window, QStringLiteral("dxButton1"));
  c.dxButton2 = Control<TdxButton>(window, QStringLiteral("dxButton2"));
  return c;
}
