// The program entry: the application, its sixteen windows, the message loop.
#include <QApplication>

#include "application.h"
#include "main_window.h"
#include "web_browser.h"

int main(int argc, char* argv[]) {
  // The browser engine needs its scheme and shared contexts before the application exists.
  web::PrepareEngine();
  QApplication application(argc, argv);
  app::InitApplication();
  app::TForms forms;
  forms.MainWindow()->show();
  return QApplication::exec();
}
