// The program as a benchmark runs it: offscreen unless a platform is chosen,
// in program and shared folders of its own (nothing of the user's), with no
// splash, and the application's start-up done.
#pragma once

#include <QApplication>
#include <QTemporaryDir>

#include "application.h"

class TBenchApplication {
 public:
  explicit TBenchApplication(char** argv) : Application_(Prepared(Folders_), argv) {
    app::InitApplication();
  }

 private:
  // Set before the application exists: it reads them as it starts.
  static int& Prepared(const QTemporaryDir& folders) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VEXA_PROGRAM_DIR", (folders.path() + "/program/").toLocal8Bit());
    qputenv("VEXA_SHARED_DIR", (folders.path() + "/shared/").toLocal8Bit());
    qputenv("VEXA_SPLASH_MS", "0");
    return Argc_;
  }

  QTemporaryDir Folders_;
  static inline int Argc_ = 1;
  QApplication Application_;
};
