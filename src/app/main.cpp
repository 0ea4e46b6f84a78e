// The program entry: the application, its sixteen windows, the message loop.
#include <QApplication>

#include "application.h"
#include "main_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  app::InitApplication();
  app::TForms forms;
  forms.MainWindow()->show();
  return QApplication::exec();
}
