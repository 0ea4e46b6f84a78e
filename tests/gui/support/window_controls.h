// The controls of every window, found by their object names as a user's tools
// would find them. Windows keep their controls to themselves; tests read them
// here. A control that is missing ends the test run with its name.
// Made from the windows' declarations by scripts/window-controls.py; run it
// after adding or renaming a control.
#pragma once

#include <QObject>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
class TDriveList;
class TEditorControl;
class TFileList;
class TFolderList;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm8;
class TImageInsert;
class TListBox;
class TListPicker;
class TWebBrowser;
class TdxButton;
class Tfrmhelp1;
class Tfrmmanager;
class Tfrmnewedit;
class Tfrmnotsaved;
class Tfrmopenlists;
class Tfrmprojects;

// The one child of `window` (not inside another window) of that type and name;
// a missing or doubled control is a fatal test error.
QObject* FindControl(const QObject& window, const QString& name, const QMetaObject& type);

template <typename T>
T* Control(const QObject& window, const QString& name) {
  return static_cast<T*>(FindControl(window, name, T::staticMetaObject));
}

struct TForm1Controls {
  TEditorControl* Edit1 = nullptr;
  QLabel* lblsaved = nullptr;
  QLabel* prodir1 = nullptr;
  QLineEdit* graphicdir = nullptr;
  QLineEdit* vwthcpath1 = nullptr;
  QLineEdit* lineedit = nullptr;
  QPushButton* gotoline1 = nullptr;
  QComboBox* synlist = nullptr;
  TdxButton* dxButton2 = nullptr;
  QCheckBox* Check1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QTimer* Timer1 = nullptr;
  QMenuBar* ActionMainMenuBar1 = nullptr;
  QToolBar* ActionToolBar1 = nullptr;
  QWidget* ActionToolBar2 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Action1 = nullptr;
  QAction* Action2 = nullptr;
  QAction* FileOpen1 = nullptr;
  QAction* FileSaveAs1 = nullptr;
  QAction* Action7 = nullptr;
  QAction* FileExit1 = nullptr;
  QAction* EditCopy1 = nullptr;
  QAction* EditCut1 = nullptr;
  QAction* EditPaste1 = nullptr;
  QAction* SearchFind1 = nullptr;
  QAction* SearchReplace1 = nullptr;
  QAction* Action9 = nullptr;
  QAction* mengraphic = nullptr;
  QAction* Action3 = nullptr;
  QAction* Action4 = nullptr;
  QAction* Action6 = nullptr;
  QAction* Action5 = nullptr;
  QAction* Action8 = nullptr;
};
TForm1Controls Controls(const TForm1& window);
inline TForm1Controls Controls(const TForm1* window) { return Controls(*window); }

struct TForm2Controls {
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
};
TForm2Controls Controls(const TForm2& window);
inline TForm2Controls Controls(const TForm2* window) { return Controls(*window); }

struct TForm3Controls {
  QTimer* Timer1 = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
};
TForm3Controls Controls(const TForm3& window);
inline TForm3Controls Controls(const TForm3* window) { return Controls(*window); }

struct TForm4Controls {
  QToolBar* MainMenu1 = nullptr;
  QAction* ShowCodeWindow1 = nullptr;
  QAction* CodeGenerator1 = nullptr;
  QAction* Back1 = nullptr;
  QAction* Forward1 = nullptr;
  QAction* OutlineCaret1 = nullptr;
  TWebBrowser* WebBrowser1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* CaretHint1 = nullptr;
};
TForm4Controls Controls(const TForm4& window);
inline TForm4Controls Controls(const TForm4* window) { return Controls(*window); }

struct Tfrmhelp1Controls {
  TWebBrowser* WebBrowser1 = nullptr;
};
Tfrmhelp1Controls Controls(const Tfrmhelp1& window);
inline Tfrmhelp1Controls Controls(const Tfrmhelp1* window) { return Controls(*window); }

struct TfrmnotsavedControls {
  QLabel* Label1 = nullptr;
  QFrame* Bevel1 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
};
TfrmnotsavedControls Controls(const Tfrmnotsaved& window);
inline TfrmnotsavedControls Controls(const Tfrmnotsaved* window) { return Controls(*window); }

struct TForm5Controls {
  QLabel* Image1 = nullptr;
  QTabWidget* TabbedNotebook1 = nullptr;
  TdxButton* dxButton1 = nullptr;
  QLineEdit* colorback = nullptr;
  QLineEdit* colortext = nullptr;
  QLineEdit* colorlink = nullptr;
  QLineEdit* colorvlink = nullptr;
  QLineEdit* coloralink = nullptr;
  QLineEdit* backimage1 = nullptr;
  QLineEdit* codepagec = nullptr;
  TdxButton* dxButton3 = nullptr;
  TdxButton* dxButton2 = nullptr;
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
  QComboBox* intextfonts = nullptr;
  QLineEdit* intextsize = nullptr;
  QLineEdit* intextcolor = nullptr;
  QLineEdit* intextalign = nullptr;
  QLineEdit* intextcode = nullptr;
  TdxButton* dxButton6 = nullptr;
  QLineEdit* inimagealign = nullptr;
  QLineEdit* inimage = nullptr;
  QLineEdit* inimagecom = nullptr;
  QLineEdit* inimagecode = nullptr;
  TdxButton* dxButton7 = nullptr;
  TdxButton* dxButton8 = nullptr;
  QComboBox* headfonts = nullptr;
  QLineEdit* headsize = nullptr;
  QLineEdit* headcolor = nullptr;
  QLineEdit* headalign = nullptr;
  QLineEdit* headtitle = nullptr;
  QLineEdit* headcode = nullptr;
  TdxButton* dxButton9 = nullptr;
  QLineEdit* linecode = nullptr;
  TdxButton* dxButton10 = nullptr;
  TdxButton* dxButton11 = nullptr;
  TdxButton* dxButton12 = nullptr;
  QLineEdit* formalign = nullptr;
  QLineEdit* formcode = nullptr;
  TdxButton* dxButton13 = nullptr;
  TdxButton* dxButton14 = nullptr;
  TdxButton* dxButton15 = nullptr;
  TdxButton* dxButton16 = nullptr;
  TdxButton* dxButton17 = nullptr;
  TdxButton* dxButton18 = nullptr;
  TdxButton* dxButton19 = nullptr;
};
TForm5Controls Controls(const TForm5& window);
inline TForm5Controls Controls(const TForm5* window) { return Controls(*window); }

struct TfrmprojectsControls {
  QLabel* Image1 = nullptr;
  QTabWidget* TabbedNotebook1 = nullptr;
  QLineEdit* projecttitle = nullptr;
  QLabel* Label1 = nullptr;
  TDriveList* Drive1 = nullptr;
  TFolderList* Dir1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  QLabel* Label2 = nullptr;
  TFileList* FileListBox1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  TdxButton* dxButton4 = nullptr;
  TdxButton* dxButton3 = nullptr;
  TdxButton* dxButton5 = nullptr;
  TdxButton* dxButton1 = nullptr;
};
TfrmprojectsControls Controls(const Tfrmprojects& window);
inline TfrmprojectsControls Controls(const Tfrmprojects* window) { return Controls(*window); }

struct TImageInsertControls {
  TDriveList* Drive1 = nullptr;
  TFolderList* Dir1 = nullptr;
  TFileList* File1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
};
TImageInsertControls Controls(const TImageInsert& window);
inline TImageInsertControls Controls(const TImageInsert* window) { return Controls(*window); }

struct TForm8Controls {
  QLabel* Label1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  TFileList* FileListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
};
TForm8Controls Controls(const TForm8& window);
inline TForm8Controls Controls(const TForm8* window) { return Controls(*window); }

struct TfrmmanagerControls {
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  TFileList* FileListBox1 = nullptr;
  TdxButton* dxButton4 = nullptr;
  TListBox* ListBox1 = nullptr;
  TListBox* ListBox2 = nullptr;
  TdxButton* dxButton2 = nullptr;
  TdxButton* dxButton3 = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButton[6] = {};
  QPushButton* Button[11] = {};
  QCheckBox* showprcheck = nullptr;
  QCheckBox* showmanagercheck = nullptr;
  QCheckBox* showpreviewcheck = nullptr;
  TdxButton* dxButton1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QTimer* Timer1 = nullptr;
};
TfrmmanagerControls Controls(const Tfrmmanager& window);
inline TfrmmanagerControls Controls(const Tfrmmanager* window) { return Controls(*window); }

struct TfrmopenlistsControls {
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  TdxButton* dxButton3 = nullptr;
};
TfrmopenlistsControls Controls(const Tfrmopenlists& window);
inline TfrmopenlistsControls Controls(const Tfrmopenlists* window) { return Controls(*window); }

struct TfrmneweditControls {
  TListBox* ListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  TListBox* ListBox2 = nullptr;
  QLabel* LabeledEdit1Label = nullptr;
  QLineEdit* LabeledEdit1 = nullptr;
  TdxButton* dxButton3 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  TdxButton* dxButton4 = nullptr;
  TdxButton* dxButton5 = nullptr;
  TdxButton* dxButton6 = nullptr;
};
TfrmneweditControls Controls(const Tfrmnewedit& window);
inline TfrmneweditControls Controls(const Tfrmnewedit* window) { return Controls(*window); }

struct TListPickerControls {
  TFileList* FileListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
};
TListPickerControls Controls(const TListPicker& window);
inline TListPickerControls Controls(const TListPicker* window) { return Controls(*window); }
