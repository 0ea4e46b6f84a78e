#include "tidy_session.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <mutex>
#include <stdexcept>

namespace check {
namespace {

// Creating a document writes libtidy's shared tables and, unless a language
// was chosen, its language from the environment: documents are created one
// at a time, and the language is English, so reports read the same whatever
// the user's locale.
std::mutex& CreationLock() {
  static std::mutex lock;
  return lock;
}

struct TInput {
  std::string_view Text;
  std::size_t At = 0;
  const std::atomic<bool>* Cancel = nullptr;
  bool Cancelled = false;
};

// The input ends at once when the run is cancelled: libtidy then finishes
// with what it read so far, which takes no time.
int TIDY_CALL GetByte(void* data) {
  auto* in = static_cast<TInput*>(data);
  if ((in->At & 0xFFFF) == 0 && in->Cancel != nullptr && in->Cancel->load()) {
    in->Cancelled = true;
    in->At = in->Text.size();
  }
  if (in->At >= in->Text.size()) return EndOfStream;
  return static_cast<unsigned char>(in->Text[in->At++]);
}

void TIDY_CALL UngetByte(void* data, byte) {
  auto* in = static_cast<TInput*>(data);
  if (in->At > 0) --in->At;
}

Bool TIDY_CALL AtEnd(void* data) {
  const auto* in = static_cast<const TInput*>(data);
  return in->At >= in->Text.size() ? yes : no;
}

Bool TIDY_CALL Collect(TidyMessage message) {
  auto* messages =
      static_cast<std::vector<TTidyMessage>*>(tidyGetAppData(tidyGetMessageDoc(message)));
  TTidyMessage m;
  switch (tidyGetMessageLevel(message)) {
    case TidyWarning:
      m.Severity = TSeverity::Warning;
      break;
    case TidyError:
    case TidyBadDocument:
    case TidyFatal:
      m.Severity = TSeverity::Error;
      break;
    default:
      return no;  // information, configuration and dialogue
  }
  m.Line = tidyGetMessageLine(message);
  m.Column = tidyGetMessageColumn(message);
  m.Message = tidyGetMessage(message);
  messages->push_back(std::move(m));
  return no;  // nothing goes to libtidy's own error output
}

}  // namespace

TTidySession::TTidySession(bool utf8) {
  {
    std::lock_guard<std::mutex> hold(CreationLock());
    static const bool english = tidySetLanguage("en") == yes;
    (void)english;
    Doc_ = tidyCreate();
  }
  tidySetAppData(Doc_, &Messages_);
  tidySetMessageCallback(Doc_, Collect);
  const char* encoding = utf8 ? "utf8" : "win1252";
  Set("input-encoding", encoding);
  Set("output-encoding", encoding);
  Set("show-errors", "1000000");
  Set("show-info", "no");
  Set("quiet", "yes");
  // Columns count a tab as one character, as the editor's columns do.
  Set("tab-size", "1");
  Set("keep-tabs", "yes");
  // Autonomous custom elements (<my-widget>) are HTML of today.
  Set("custom-tags", "blocklevel");
}

TTidySession::~TTidySession() { tidyRelease(Doc_); }

void TTidySession::Set(const char* option, const char* value) {
  if (tidyOptParseValue(Doc_, option, value) != yes) {
    throw std::logic_error(std::string("libtidy takes no ") + option + "=" + value);
  }
}

bool TTidySession::Run(std::string_view text, const std::atomic<bool>* cancel) {
  TInput in;
  in.Text = text;
  in.Cancel = cancel;
  TidyInputSource source;
  tidyInitSource(&source, &in, GetByte, UngetByte, AtEnd);
  tidyParseSource(Doc_, &source);
  if (in.Cancelled) return false;
  tidyCleanAndRepair(Doc_);
  tidyRunDiagnostics(Doc_);
  return !(cancel != nullptr && cancel->load());
}

bool TTidySession::Output(std::string& out) {
  TidyBuffer buffer;
  tidyBufInit(&buffer);
  const int status = tidySaveBuffer(Doc_, &buffer);
  const bool written = status >= 0 && status < 2 && ErrorCount() == 0;
  out.assign(buffer.bp != nullptr ? reinterpret_cast<const char*>(buffer.bp) : "", buffer.size);
  tidyBufFree(&buffer);
  return written;
}

int TTidySession::ErrorCount() const {
  int errors = 0;
  for (const TTidyMessage& m : Messages_) errors += m.Severity == TSeverity::Error ? 1 : 0;
  return errors;
}

std::vector<TProblem> PlaceMessages(const std::vector<TTidyMessage>& messages,
                                    std::string_view text, bool utf8, bool errorsOnly) {
  const TTextPositions positions(text, utf8);
  std::vector<TProblem> problems;
  for (const TTidyMessage& m : messages) {
    if (errorsOnly && m.Severity != TSeverity::Error) continue;
    TProblem p;
    p.Severity = m.Severity;
    p.Message = m.Message;
    p.Offset = m.Line > 0 ? positions.OffsetOf(m.Line - 1, m.Column > 0 ? m.Column - 1 : 0) : 0;
    positions.Place(p);
    problems.push_back(std::move(p));
  }
  return problems;
}

}  // namespace check
