#include "gui_test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTimer>

#include "dialogs.h"
#include "error_guard.h"
#include "main_window.h"

namespace {

void CopyTree(const QString& from, const QString& to) {
  QDir().mkpath(to);
  QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = to + "/" + QDir(from).relativeFilePath(source);
    if (it.fileInfo().isDir()) {
      QDir().mkpath(target);
    } else {
      QFile::copy(source, target);
    }
  }
}

}  // namespace

TestEnvironment::TestEnvironment(bool withData) {
  QDir().mkpath(ProgramDir());
  QDir().mkpath(SharedDir());
  QDir().mkpath(TempDir());
  if (withData) {
    CopyTree(QStringLiteral(VEXA_SOURCE_DATA_DIR), ProgramDir());
    // Emmet's bundle, which the build puts beside the data.
    QDir().mkpath(ProgramDir() + "emmet");
    QFile::copy(QStringLiteral(VEXA_EMMET_DIR "/dist/emmet.es.js"),
                ProgramDir() + "emmet/emmet.es.js");
  }
  qputenv("VEXA_PROGRAM_DIR", ProgramDir().toLocal8Bit());
  qputenv("VEXA_SHARED_DIR", SharedDir().toLocal8Bit());
  qputenv("VEXA_SPLASH_MS", "0");
  QDir().mkpath(SharedDir() + "vexapro/projects");
  // A returning user's settings that open no window at start-up and keep the
  // windows where they were designed, so a test that shows the main window is
  // not held by the first run's modal projects dialog.
  WriteFile(ProgramDir() + "vexapro.ini",
            "[Vexa options]\r\nAutomatic Preview=1\r\nWord Wrap=0\r\nWorking Offline=1\r\n"
            "Show Project Start=0\r\nShow Manager Start=0\r\nShow Preview Start=0\r\n"
            "[Vexa Interface]\r\nHeight=304\r\nWidth=792\r\nLeft=212\r\nTop=0\r\n"
            "Height Pr=390\r\nWidth Pr=803\r\nLeft Pr=211\r\nTop Pr=337\r\n");
  SetErrorReporter([this](const QString& message, const QString& reason) {
    Errors_ << message;
    Reasons_ << reason;
  });
  dialogs::SetMessageHook(
      [this](const QString& caption, const QString& text) { Messages_ << caption + "|" + text; });
}

TestEnvironment::~TestEnvironment() {
  Forms_.reset();
  SetErrorReporter({});
  dialogs::SetMessageHook({});
}

QString TestEnvironment::ProgramDir() const { return Root_.path() + "/program/"; }
QString TestEnvironment::SharedDir() const { return Root_.path() + "/shared/"; }
QString TestEnvironment::TempDir() const { return Root_.path() + "/work/"; }

void TestEnvironment::CreateForms() { Forms_ = std::make_unique<app::TForms>(); }

TForm1& TestEnvironment::Main() const { return *Forms_->MainWindow(); }

QString TestEnvironment::WriteFile(const QString& path, const QByteArray& bytes) const {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
  return path;
}

QByteArray TestEnvironment::ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

void AnswerNextModal(std::function<void(QWidget*)> fn, int timeoutMs) {
  auto* timer = new QTimer;
  auto elapsed = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, fn, elapsed, timeoutMs] {
    *elapsed += 10;
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      fn(modal);
    } else if (*elapsed > timeoutMs) {
      timer->stop();
      timer->deleteLater();
      qWarning("no modal window opened");
    }
  });
  timer->start();
}

TModalAnswers::TModalAnswers(std::function<void(QWidget*)> fn) : Poll_(std::make_unique<QTimer>()) {
  QObject::connect(Poll_.get(), &QTimer::timeout, [this, fn] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      ++Count_;
      fn(modal);
    }
  });
  Poll_->start(10);
}

TModalAnswers::~TModalAnswers() = default;

void FireTimer(QTimer* timer) { QMetaObject::invokeMethod(timer, "timeout"); }

TShowWatch::TShowWatch(QWidget* window, std::function<void(QWidget*)> answer)
    : Window_(window), Answer_(std::move(answer)) {
  window->installEventFilter(this);
}

bool TShowWatch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Window_ && event->type() == QEvent::Show) {
    ++Count_;
    QTimer::singleShot(0, Window_, [this] { Answer_(Window_); });
  }
  return false;
}

void TypeCharacters(QWidget* widget, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString key = text.mid(i, n);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, key);
    QApplication::sendEvent(widget, &release);
    i += n - 1;
  }
}
