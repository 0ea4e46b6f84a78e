// Every event handler runs through Guard: a VexaError (or any other standard
// exception) ends the handler and its message is shown in the application's
// error box, with the error's reason, when it has one, on a line under it.
// Tests replace the box with a recorder through SetErrorReporter.
#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

#include "vexa_error.h"

// Hears a message and its reason (empty when there is none). One that takes
// the message alone may stand in for it: it is not told the reason.
class ErrorReporter {
  template <typename Fn>
  static constexpr bool kHearsReason = std::is_invocable_v<Fn&, const QString&, const QString&> &&
                                       !std::is_same_v<std::decay_t<Fn>, ErrorReporter>;
  template <typename Fn>
  static constexpr bool kHearsMessage = std::is_invocable_v<Fn&, const QString&> &&
                                        !std::is_invocable_v<Fn&, const QString&, const QString&>;

 public:
  ErrorReporter() = default;
  template <typename Fn, std::enable_if_t<kHearsReason<Fn>, int> = 0>
  ErrorReporter(Fn fn) : Fn_(std::move(fn)) {}  // NOLINT: a callable stands for a reporter
  template <typename Fn, std::enable_if_t<kHearsMessage<Fn>, int> = 0>
  ErrorReporter(Fn fn)  // NOLINT: as above
      : Fn_([fn = std::move(fn)](const QString& message, const QString&) mutable { fn(message); }) {
  }

  void operator()(const QString& message, const QString& reason = QString()) const {
    Fn_(message, reason);
  }
  explicit operator bool() const { return static_cast<bool>(Fn_); }

 private:
  std::function<void(const QString& message, const QString& reason)> Fn_;
};

// Installs a reporter; an empty one restores the error box. Returns the previous one.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

// Shows a message through the current reporter (the error box by default).
void ReportError(const QString& message, const QString& reason = QString());

// The same, in a box that leaves the keyboard where it is: the box does not
// wait for an answer, and the keys the user goes on typing reach the window
// they were meant for.
void ReportErrorAside(const QString& message, const QString& reason = QString());

// A message and its reason on one line, for the status bar: "message (reason)".
QString WithReason(const QString& message, const QString& reason);

// Runs fn; a thrown error is reported (by report, or the error box) and the
// rest of fn is skipped. Returns false when fn ended with an error.
template <typename Fn>
bool RunGuarded(Fn&& fn, const ErrorReporter& report = ReportError) {
  try {
    std::forward<Fn>(fn)();
    return true;
  } catch (const VexaError& e) {
    report(e.Message, e.Reason);
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
