// Every event handler runs through Guard: a VexaError (or any other standard
// exception) ends the handler and its message is shown in the application's
// error box. Tests replace the box with a recorder through SetErrorReporter.
#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

#include "vexa_error.h"

using ErrorReporter = std::function<void(const QString& message)>;

// Installs a reporter; an empty one restores the error box. Returns the previous one.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

// Shows a message through the current reporter (the error box by default).
void ReportError(const QString& message);

// The same, in a box that leaves the keyboard where it is: the box does not
// wait for an answer, and the keys the user goes on typing reach the window
// they were meant for.
void ReportErrorAside(const QString& message);

// Runs fn; a thrown error is reported (by report, or the error box) and the
// rest of fn is skipped. Returns false when fn ended with an error.
template <typename Fn>
bool RunGuarded(Fn&& fn, const ErrorReporter& report = ReportError) {
  try {
    std::forward<Fn>(fn)();
    return true;
  } catch (const VexaError& e) {
    report(e.Message);
  } catch (const std::exception& e) {
    report(QString::fromLocal8Bit(e.what()));
  }
  return false;
}

// Wraps a handler for connect(): connect(button, &TdxButton::clicked, this,
// Guard([this] { dxButton1Click(); }));
// A handler that takes no arguments may be connected to a signal that has some.
template <typename Fn>
auto Guard(Fn fn) {
  return [fn = std::move(fn)](auto&&... args) mutable {
    RunGuarded([&] {
      if constexpr (std::is_invocable_v<Fn&, decltype(args)...>) {
        fn(std::forward<decltype(args)>(args)...);
      } else {
        fn();
      }
    });
  };
}
