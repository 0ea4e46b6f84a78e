// The program entry: the command line, the application, its sixteen windows,
// the message loop.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "application.h"
#include "command_line.h"
#include "handed_files.h"
#include "main_window.h"
#include "web_browser.h"

int main(int argc, char* argv[]) {
  // Help, version and a bad command line are answered before anything opens a
  // window or needs a display.
  const TCommandLine commandLine =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (commandLine.Action != TCommandLine::TAction::Run) {
    return AnswerCommandLine(commandLine, VEXA_VERSION, stdout, stderr);
  }
  // The browser engine needs its scheme and shared contexts before the application exists.
  web::PrepareEngine();
  QApplication application(argc, argv);
  app::InitApplication();
  app::TForms forms;
  QStringList files;
  for (const std::string& file : commandLine.Files) files << QString::fromLocal8Bit(file);
  app::OpenWhenStarted(files);
  forms.MainWindow()->show();
  return QApplication::exec();
}
