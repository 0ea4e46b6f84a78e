// The checks in the main window: Check Page (F7), Check Site (Shift+F7),
// Tidy Page (Ctrl+Shift+T) and "Check Automatically", after the Tools menu's
// own entries; their windows; and their settings, which the settings file
// keeps in sections of their own.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "check_settings.h"

class IniFile;
class QAction;
class QMenu;
class TMainForm;
class TPageChecker;
class TProblemsWindow;
class TSiteCheckWindow;

class TCheckCommands : public QObject {
  Q_OBJECT

 public:
  TCheckCommands(TMainForm& form, QMenu* tools);
  ~TCheckCommands() override;

  void ReadSettings(const IniFile& ini);
  void WriteSettings(IniFile& ini) const;

  void CheckPage();  // checks now and shows the problems
  void CheckSite();  // the project's site folder, or the document's folder
  void TidyPage();   // the dialog, then the tidy-up as one undo step
  void SetAutomatic(bool on);

  // The folder Check Site checks: the project folder, else the folder of a
  // named document; empty for an untitled document without a project.
  QString SiteFolder() const;

  TPageChecker& Checker() { return *Checker_; }
  TProblemsWindow& ProblemsWindow();
  TSiteCheckWindow& SiteWindow();
  const check::TTidyOptions& TidyOptions() const { return Settings_.Tidy; }

 private:
  TMainForm& Form_;
  TPageChecker* Checker_ = nullptr;
  TProblemsWindow* Problems_ = nullptr;
  TSiteCheckWindow* Site_ = nullptr;
  QList<QAction*> Actions_;
  QAction* Automatic_ = nullptr;
  check::TCheckSettings Settings_;
};
