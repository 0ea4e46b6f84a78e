// One run of libtidy over a text: the options every run shares, the messages
// it reports, and an input that ends early when the run is cancelled. Used by
// the HTML check and by Tidy Page.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "check_problem.h"

struct _TidyDoc;

namespace check {

struct TTidyMessage {
  TSeverity Severity = TSeverity::Error;
  int Line = 0;    // from 1; 0 for the document as a whole
  int Column = 0;  // from 1, a character each (a tab too)
  std::string Message;
};

class TTidySession {
 public:
  // `utf8`: the text is UTF-8, otherwise code page 1252.
  explicit TTidySession(bool utf8);
  ~TTidySession();
  TTidySession(const TTidySession&) = delete;
  TTidySession& operator=(const TTidySession&) = delete;

  // Sets an option by its libtidy name; throws std::logic_error for an option
  // or value libtidy does not take (a programming error, caught by the tests).
  void Set(const char* option, const char* value);

  // Parses the text, then repairs it and runs the diagnostics, as the tidy
  // command does. False when `cancel` was raised meanwhile.
  bool Run(std::string_view text, const std::atomic<bool>* cancel);
  // The repaired document; false when libtidy would not write it (errors).
  bool Output(std::string& out);

  int ErrorCount() const;
  // Errors and warnings, in the order reported; information is left out.
  const std::vector<TTidyMessage>& Messages() const { return Messages_; }

 private:
  const _TidyDoc* Doc_ = nullptr;
  std::vector<TTidyMessage> Messages_;
};

// libtidy's messages as problems placed in `text` (the text tidy read). With
// `errorsOnly`, warnings are left out.
std::vector<TProblem> PlaceMessages(const std::vector<TTidyMessage>& messages,
                                    std::string_view text, bool utf8, bool errorsOnly);

}  // namespace check
