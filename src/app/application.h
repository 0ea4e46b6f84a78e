// The program's windows: created once, in a fixed order, at start; shown and
// hidden afterwards, never destroyed before the program ends.
#pragma once

#include <QString>
#include <memory>

class QWidget;
class TForm1;

namespace app {

// Owns the sixteen windows for the lifetime of the program.
class TForms {
 public:
  TForms();
  ~TForms();
  TForm1* MainWindow() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> Impl_;
};

// The application's title and look: the 8-point sans-serif face the windows'
// layouts are measured for.
void InitApplication();

}  // namespace app
