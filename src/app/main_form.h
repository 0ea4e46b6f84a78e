// What the main window's own units (documents, refresh, preview, settings,
// tools, start-up) ask of it, beyond what every window may (TMainShell): its
// small controls, by what they mean rather than by the widgets that hold them.
#pragma once

#include "main_shell.h"

class QWidget;
class TCheckCommands;
class TDiskWatch;
class TRecentFiles;
struct TEditingOptions;
class TRecovery;

// The two optional external tools of the Tools menu.
enum class TTool { GraphicBrowser, ThumbnailCreator };

class TMainForm : public TMainShell {
 public:
  // The window itself: the parent of its dialogs, and the bounds the settings keep.
  virtual QWidget* Window() = 0;
  virtual QString StatusFileName() const = 0;  // status panel 0
  virtual QString SyntaxName() const = 0;      // the text of synlist
  // The documents opened or saved last (the File menu's "Recent Files").
  virtual TRecentFiles& RecentFiles() = 0;

  virtual void RestartPreviewTimer() = 0;  // Timer1, a full second from now
  // The line box (lineedit) shows the caret's line; the full display also
  // writes the status bar's line panel and may scroll to the caret and focus it.
  virtual void ShowCaretLineNumber() = 0;
  virtual void SetCaretLineDisplay(bool scrollAndFocus) = 0;

  // The check boxes: "Automatic Preview", "Word Wrap" (with the editor's
  // wrapping) and "Working offline" (with the preview's browser).
  virtual bool AutomaticPreview() const = 0;
  virtual void SetAutomaticPreview(bool on) = 0;
  virtual bool WordWrap() const = 0;
  virtual void SetWordWrap(bool on) = 0;
  virtual bool WorkingOffline() const = 0;
  virtual void SetWorkingOffline(bool on) = 0;

  // A tool found at start: its menu entry is enabled, then its folder is kept.
  virtual void EnableTool(TTool tool) = 0;
  virtual void SetToolFolder(TTool tool, const QString& folder) = 0;
  virtual QString ToolFolder(TTool tool) const = 0;

  // Unsaved work: this run's recovery copy, and the watch on the document's file.
  virtual TRecovery& Recovery() = 0;
  virtual TDiskWatch& DiskWatch() = 0;

  // The checks of the page and the site, with their settings.
  virtual TCheckCommands& Checks() = 0;
  // The switches of the typing aids (line numbers, closing tags, ...).
  virtual TEditingOptions EditingOptions() const = 0;
  virtual void SetEditingOptions(const TEditingOptions& options) = 0;
};
