// Shared fixture of the window tests: fresh temporary program and shared
// folders, all sixteen windows, and recorders for error and message boxes so
// no test ever blocks on a box.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "application.h"
#include "form_registry.h"
#include "web_browser.h"
#include "window_controls.h"

class QTimer;
class TForm1;

class TestEnvironment {
 public:
  // Copies the program's data files into a new program folder unless told not to.
  explicit TestEnvironment(bool withData = true);
  ~TestEnvironment();

  QString ProgramDir() const;  // ends in "/"
  QString SharedDir() const;   // ends in "/"
  QString TempDir() const;     // a scratch folder for the test's own files, ends in "/"

  // Creates the windows (after the test has prepared the folders).
  void CreateForms();
  TForm1& Main() const;

  QStringList& Errors() { return Errors_; }      // messages of the error box
  QStringList& Reasons() { return Reasons_; }    // the reason under each, or ""
  QStringList& Messages() { return Messages_; }  // "caption|text" of message boxes

  // Writes a file (bytes as given), creating folders; returns its path.
  QString WriteFile(const QString& path, const QByteArray& bytes) const;
  static QByteArray ReadFile(const QString& path);

 private:
  QTemporaryDir Root_;
  QStringList Errors_;
  QStringList Reasons_;
  QStringList Messages_;
  std::unique_ptr<app::TForms> Forms_;
};

// Runs fn on the next modal window that opens (posted before the call that
// opens it), then returns. fn gets the active modal widget.
void AnswerNextModal(std::function<void(QWidget*)> fn, int timeoutMs = 5000);

// Answers each modal window that opens while it lives (fn gets it), and no
// other: a question that should not come is seen where it comes, and nothing
// of this answer is left behind for a later window.
class TModalAnswers {
 public:
  explicit TModalAnswers(std::function<void(QWidget*)> fn);
  ~TModalAnswers();
  TModalAnswers(const TModalAnswers&) = delete;
  TModalAnswers& operator=(const TModalAnswers&) = delete;
  int Count() const { return Count_; }

 private:
  std::unique_ptr<QTimer> Poll_;
  int Count_ = 0;
};

// Fires a timer now, as the end of its interval would: its handlers run; the
// timer itself is left as it was.
void FireTimer(QTimer* timer);

// Counts the showings of a window and answers each at once (after the show),
// so a question asked where none should be cannot hold the test.
class TShowWatch : public QObject {
 public:
  TShowWatch(QWidget* window, std::function<void(QWidget*)> answer);
  int Count() const { return Count_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* Window_;
  std::function<void(QWidget*)> Answer_;
  int Count_ = 0;
};

// Types a text as a keyboard with those keys would, one character (a whole
// code point) per key; QTest's own key clicks know only ASCII.
void TypeCharacters(QWidget* widget, const QString& text);

// A control of a registered window by its objectName; a missing window or
// control is a fatal test error.
template <typename T>
T* Child(const QString& form, const QString& name) {
  QWidget* w = forms::Find(form);
  if (w == nullptr) qFatal("no window %s", qPrintable(form));
  return Control<T>(*w, name);
}

// A main() for a Qt Test class with the application set up as the program does it.
#define VEXA_GUI_TEST_MAIN(TestClass)       \
  int main(int argc, char** argv) {         \
    web::PrepareEngine();                   \
    QApplication app(argc, argv);           \
    app::InitApplication();                 \
    TestClass test;                         \
    return QTest::qExec(&test, argc, argv); \
  }
