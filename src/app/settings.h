// The settings file "vexapro.ini" in the program folder: the options and the
// places of the main, preview and manager windows, read and applied while the
// main window is first shown and written when it closes.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class IniFile;
class QWidget;
class TMainForm;

namespace settings {

// Everything the file holds. Window bounds are outer bounds (frame included),
// in screen pixels.
struct TSettingsValues {
  bool AutomaticPreview = false;
  bool WordWrap = false;
  bool WorkingOffline = false;
  bool ShowProjectStart = false;
  bool ShowManagerStart = false;
  bool ShowPreviewStart = false;
  int Tab = 0;
  QString Qlist1;
  QString Qlist2;
  QRect Main;
  QRect Preview;
  QPoint Manager;
};

// Missing keys read as off, 0 or empty; only the exact text "1" is on.
TSettingsValues ReadValues(const IniFile& ini);
// Writes the nineteen keys in their fixed order.
void WriteValues(IniFile& ini, const TSettingsValues& values);

// The smallest outer size a restored window may have.
constexpr QSize kMinimumSize(160, 100);

// The bounds a window is restored to. A width or height below kMinimumSize
// (a missing key reads as 0) takes the design value, so no window comes up
// too small to see or grab. A window whose title strip lies on no screen is
// moved onto `primary` (that screen's available area), as near to its stored
// place as fits, so it can always be reached.
QRect MendBounds(const QRect& stored, const QSize& designSize, const QList<QRect>& screens,
                 const QRect& primary);

// A window's outer bounds. A window that has never been on screen has no
// frame yet; the main window's frame stands in for it, so that what is
// applied at start and written at close agree.
QRect OuterBounds(const QWidget* window, const QWidget* mainWindow);

// The settings step of the start-up. Without a file: the projects dialog
// (modal), then the preview, then the manager, every option as created.
// With one: the window bounds, then the options in order, which may show the
// projects dialog (modal), the manager and the preview; then the modified
// flag is cleared.
void ReadAndApply(TMainForm& form);

// Writes the current options and window bounds. Throws VexaError "Unable to
// write to <path>" when the file cannot be written; the file is then left as
// it was.
void Write(TMainForm& form);

}  // namespace settings
