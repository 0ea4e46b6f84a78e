#include "settings.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "check_commands.h"
#include "editing_options.h"
#include "form_registry.h"
#include "ini_file.h"
#include "list_hosts.h"
#include "main_form.h"
#include "paths.h"
#include "preview.h"
#include "recent_files.h"
#include "vexa_error.h"
#include "window_look.h"

namespace settings {
namespace {

constexpr char kOptions[] = "Vexa options";
constexpr char kManagerOptions[] = "Vexa Manager options";
constexpr char kInterface[] = "Vexa Interface";

// Coordinates are kept within this distance of the origin, so that a wild
// value in the file cannot overflow the arithmetic of a rectangle.
constexpr int kCoordinateLimit = 100000;
// The strip at a window's top by which it is dragged, and how much of it
// must lie on a screen for the window to count as reachable.
constexpr int kTitleStrip = 24;
constexpr int kGripWidth = 48;

// A window's outer bounds as the window manager framed it; a window never
// shown takes the main window's frame.
QRect FramedBounds(const QWidget* window, const QWidget* mainWindow) {
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  if (frame != client || window->isVisible() || mainWindow == nullptr || mainWindow == window) {
    return frame;
  }
  // Never shown: the position is already the frame's, only the size lacks it.
  const QSize mainFrame = mainWindow->frameGeometry().size() - mainWindow->geometry().size();
  return QRect(client.topLeft(), client.size() + mainFrame);
}

bool ReadFlag(const IniFile& ini, const char* key) {
  return ini.ReadString(kOptions, key, "") == "1";
}

int ReadCoordinate(const IniFile& ini, const char* key) {
  return std::clamp(ini.ReadInteger(kInterface, key, 0), -kCoordinateLimit, kCoordinateLimit);
}

QRect ReadBounds(const IniFile& ini, const char* height, const char* width, const char* left,
                 const char* top) {
  const int h = ReadCoordinate(ini, height);
  const int w = ReadCoordinate(ini, width);
  const int x = ReadCoordinate(ini, left);
  const int y = ReadCoordinate(ini, top);
  return QRect(x, y, w, h);
}

void WriteFlag(IniFile& ini, const char* key, bool on) {
  ini.WriteString(kOptions, key, on ? "1" : "0");
}

// File names are kept in the file as the file system spells them.
std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString ReadPath(const IniFile& ini, const char* key) {
  return QFile::decodeName(QByteArray::fromStdString(ini.ReadString(kManagerOptions, key, "")));
}

QList<QRect> ScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  return areas;
}

QRect PrimaryArea() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary != nullptr ? primary->availableGeometry() : QRect(0, 0, 800, 600);
}

// Holds the outer bounds a window was given at start until the window manager
// has framed it. Before a window is mapped its frame is unknown, so the size
// set then is the client's alone; at the next exposure the frame is known and
// the client is sized so that the frame has the stored outer bounds again.
// Until then the stored bounds are what the window's outer bounds are taken to
// be, so a window that never came on screen writes back what it was given.
//
// A window already shown but not yet on screen (the start-up reached it before
// the window manager mapped it) is not touched until it is: a place or size
// asked for then reaches the window manager before it frames the window, and
// the notices of its framing, which come after, undo half of it (the window
// takes the requested client size with its frame added, one run after another).
class TOuterBoundsKeeper : public QObject {
 public:
  TOuterBoundsKeeper(QWidget* window, const QRect& outer, const QWidget* mainWindow, bool keepSize)
      : QObject(window), Window_(window), Main_(mainWindow), Outer_(outer), KeepSize_(keepSize) {
    setObjectName(QStringLiteral("OuterBoundsKeeper"));
    const QPointer<TOuterBoundsKeeper> self(this);
    if (window->isVisible() && !look::IsOnScreen(window)) {
      look::WhenOnScreen(window, [self] {
        if (self) self->Apply();
      });
    } else {
      Apply();
    }
  }

  static TOuterBoundsKeeper* Of(const QWidget* window) {
    return window->findChild<TOuterBoundsKeeper*>(QStringLiteral("OuterBoundsKeeper"),
                                                  Qt::FindDirectChildrenOnly);
  }

  // The stored bounds, while nothing has changed the window since they were applied.
  std::optional<QRect> Pending() const {
    if (Client_ && Window_->geometry() != *Client_) return std::nullopt;
    return Outer_;
  }

 private:
  // move() places the frame, resize() takes the client size, so the frame is
  // taken off the stored size. Where the frame is not known yet, the work is
  // finished once it is.
  void Apply() {
    if (!KeepSize_) {
      const QSize frame = FramedBounds(Window_, Main_).size() - Window_->size();
      Window_->resize(Outer_.size() - frame);
    }
    Window_->move(Outer_.topLeft());
    Client_ = Window_->geometry();
    const QPointer<TOuterBoundsKeeper> self(this);
    look::AtNextExposure(Window_, [self] {
      if (self) self->Settle();
    });
  }

  void Settle() {
    // Something else sized the window meanwhile: that size stands.
    const bool untouched = Window_->size() == Client_->size();
    const QSize frame = Window_->frameGeometry().size() - Window_->size();
    if (untouched && !frame.isNull()) {
      if (!KeepSize_ && Window_->size() != Outer_.size() - frame) {
        Window_->resize(Outer_.size() - frame);
      }
      look::MoveFrame(Window_, Outer_.topLeft());
    }
    delete this;
  }

  QWidget* Window_;
  QPointer<const QWidget> Main_;
  QRect Outer_;
  std::optional<QRect> Client_;  // the window's bounds once the stored ones were applied
  bool KeepSize_;
};

// Sets a window's outer bounds, now or once the window is on screen.
void ApplyOuterBounds(QWidget* window, const QRect& outer, const QWidget* mainWindow,
                      bool keepSize = false) {
  delete TOuterBoundsKeeper::Of(window);
  new TOuterBoundsKeeper(window, outer, mainWindow, keepSize);
}

void ApplyBounds(QWidget* main, const TSettingsValues& values) {
  const QList<QRect> screens = ScreenAreas();
  const QRect primary = PrimaryArea();
  // The windows still have their design bounds, which a bad stored size falls back to.
  ApplyOuterBounds(main, MendBounds(values.Main, OuterBounds(main, main).size(), screens, primary),
                   main);
  if (QWidget* preview = forms::Find(QStringLiteral("Form4"))) {
    ApplyOuterBounds(
        preview, MendBounds(values.Preview, OuterBounds(preview, main).size(), screens, primary),
        main);
  }
  // The manager keeps its fixed size; only its place is stored.
  if (QWidget* manager = forms::Find(QStringLiteral("frmmanager"))) {
    const QSize size = OuterBounds(manager, main).size();
    ApplyOuterBounds(manager, MendBounds(QRect(values.Manager, size), size, screens, primary), main,
                     true);
  }
}

}  // namespace

TSettingsValues ReadValues(const IniFile& ini) {
  TSettingsValues v;
  v.AutomaticPreview = ReadFlag(ini, "Automatic Preview");
  v.WordWrap = ReadFlag(ini, "Word Wrap");
  v.WorkingOffline = ReadFlag(ini, "Working Offline");
  v.ShowProjectStart = ReadFlag(ini, "Show Project Start");
  v.ShowManagerStart = ReadFlag(ini, "Show Manager Start");
  v.ShowPreviewStart = ReadFlag(ini, "Show Preview Start");
  v.Tab = ini.ReadInteger(kManagerOptions, "Tab", 0);
  v.Qlist1 = ReadPath(ini, "Qlist1");
  v.Qlist2 = ReadPath(ini, "Qlist2");
  v.Main = ReadBounds(ini, "Height", "Width", "Left", "Top");
  v.Preview = ReadBounds(ini, "Height Pr", "Width Pr", "Left Pr", "Top Pr");
  v.Manager = QPoint(ReadCoordinate(ini, "Left Manager"), ReadCoordinate(ini, "Top Manager"));
  return v;
}

void WriteValues(IniFile& ini, const TSettingsValues& v) {
  WriteFlag(ini, "Automatic Preview", v.AutomaticPreview);
  WriteFlag(ini, "Word Wrap", v.WordWrap);
  WriteFlag(ini, "Working Offline", v.WorkingOffline);
  WriteFlag(ini, "Show Project Start", v.ShowProjectStart);
  WriteFlag(ini, "Show Manager Start", v.ShowManagerStart);
  WriteFlag(ini, "Show Preview Start", v.ShowPreviewStart);
  ini.WriteInteger(kManagerOptions, "Tab", v.Tab);
  ini.WriteString(kManagerOptions, "Qlist1", PathBytes(v.Qlist1));
  ini.WriteString(kManagerOptions, "Qlist2", PathBytes(v.Qlist2));
  ini.WriteInteger(kInterface, "Height", v.Main.height());
  ini.WriteInteger(kInterface, "Width", v.Main.width());
  ini.WriteInteger(kInterface, "Left", v.Main.left());
  ini.WriteInteger(kInterface, "Top", v.Main.top());
  ini.WriteInteger(kInterface, "Height Pr", v.Preview.height());
  ini.WriteInteger(kInterface, "Width Pr", v.Preview.width());
  ini.WriteInteger(kInterface, "Left Pr", v.Preview.left());
  ini.WriteInteger(kInterface, "Top Pr", v.Preview.top());
  ini.WriteInteger(kInterface, "Left Manager", v.Manager.x());
  ini.WriteInteger(kInterface, "Top Manager", v.Manager.y());
}

QRect MendBounds(const QRect& stored, const QSize& designSize, const QList<QRect>& screens,
                 const QRect& primary) {
  QRect r = stored;
  if (r.width() < kMinimumSize.width()) r.setWidth(designSize.width());
  if (r.height() < kMinimumSize.height()) r.setHeight(designSize.height());

  // The screen whose area holds enough of the title strip to grab it.
  const QRect strip(r.left(), r.top(), r.width(), kTitleStrip);
  const QRect* home = nullptr;
  for (const QRect& screen : screens) {
    const QRect onScreen = strip.intersected(screen);
    if (onScreen.width() >= std::min(kGripWidth, r.width()) &&
        onScreen.height() >= kTitleStrip / 2) {
      home = &screen;
      break;
    }
  }
  const QRect area = home != nullptr ? *home : primary;
  // Larger than the area: shrunk to it and placed inside it, so that no
  // part of the frame lies beyond reach.
  if (r.width() > area.width() || r.height() > area.height()) {
    r.setSize(r.size().boundedTo(area.size()));
    home = nullptr;
  }
  if (home != nullptr) return r;
  // Off every screen: as near to the stored place as the area allows.
  r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() + 1 - r.width())));
  r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() + 1 - r.height())));
  return r;
}

QRect OuterBounds(const QWidget* window, const QWidget* mainWindow) {
  if (mainWindow != nullptr) {
    if (const TOuterBoundsKeeper* keeper = TOuterBoundsKeeper::Of(window)) {
      if (const std::optional<QRect> pending = keeper->Pending()) return *pending;
    }
  }
  return FramedBounds(window, mainWindow);
}

void ReadAndApply(TMainForm& form) {
  const QString path = paths::SettingsFile();
  if (!QFileInfo::exists(path)) {
    // A first run greets the user with the projects, the preview and the manager.
    forms::ShowModal(QStringLiteral("frmprojects"));
    forms::Show(QStringLiteral("Form4"));
    forms::Show(QStringLiteral("frmmanager"));
    return;
  }

  const IniFile ini(PathBytes(path));
  const TSettingsValues v = ReadValues(ini);
  form.RecentFiles().Read(ini);
  form.SetEditingOptions(ReadEditingOptions(ini));
  preview::ReadCaretSettings(ini);
  form.Checks().ReadSettings(ini);
  ApplyBounds(form.Window(), v);

  form.SetAutomaticPreview(v.AutomaticPreview);
  form.SetWordWrap(v.WordWrap);
  form.SetWorkingOffline(v.WorkingOffline);
  auto* manager = forms::As<TManagerOptions>(QStringLiteral("frmmanager"));
  if (manager != nullptr)
    manager->SetStartupFlag(TManagerOptions::kShowProjects, v.ShowProjectStart);
  if (v.ShowProjectStart) forms::ShowModal(QStringLiteral("frmprojects"));
  if (manager != nullptr)
    manager->SetStartupFlag(TManagerOptions::kShowManager, v.ShowManagerStart);
  if (v.ShowManagerStart) forms::Show(QStringLiteral("frmmanager"));
  if (manager != nullptr)
    manager->SetStartupFlag(TManagerOptions::kShowPreview, v.ShowPreviewStart);
  if (v.ShowPreviewStart) forms::Show(QStringLiteral("Form4"));

  form.SetModifiedFlag(QString());
}

void Write(TMainForm& form) {
  TSettingsValues v;
  const QWidget* main = form.Window();
  v.AutomaticPreview = form.AutomaticPreview();
  v.WordWrap = form.WordWrap();
  v.WorkingOffline = form.WorkingOffline();
  if (const auto* manager = forms::As<TManagerOptions>(QStringLiteral("frmmanager"))) {
    v.ShowProjectStart = manager->StartupFlag(TManagerOptions::kShowProjects);
    v.ShowManagerStart = manager->StartupFlag(TManagerOptions::kShowManager);
    v.ShowPreviewStart = manager->StartupFlag(TManagerOptions::kShowPreview);
    v.Tab = manager->PageIndex();
  }
  if (const QWidget* manager = forms::Find(QStringLiteral("frmmanager"))) {
    v.Manager = OuterBounds(manager, main).topLeft();
  }
  if (const auto* chooser = forms::As<TListChoice>(QStringLiteral("frmopenlists"))) {
    v.Qlist1 = chooser->ListPath(1);
    v.Qlist2 = chooser->ListPath(2);
  }
  v.Main = OuterBounds(main, main);
  if (const QWidget* preview = forms::Find(QStringLiteral("Form4"))) {
    v.Preview = OuterBounds(preview, main);
  }

  const QString path = paths::SettingsFile();
  IniFile ini(PathBytes(path));
  WriteValues(ini, v);
  form.RecentFiles().Write(ini);
  WriteEditingOptions(ini, form.EditingOptions());
  preview::WriteCaretSettings(ini);
  form.Checks().WriteSettings(ini);
  try {
    ini.Save();
  } catch (const IniWriteError&) {
    // The file is untouched; the user learns which file could not be written.
    throw VexaError(QStringLiteral("Unable to write to %1").arg(path));
  }
}

}  // namespace settings
