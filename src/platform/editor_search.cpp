// Find and replace in the editor, with the editor's own search: it reads the
// document's bytes as the widget holds them, so a match is found in the same
// positions every other operation uses, in either encoding, and a regular
// expression is matched line by line, never across a line end.
#include <regex>

#include "editor_control.h"
#include "vexa_error.h"

namespace {

// Why a regular expression does not compile, in words.
QString RegexProblem(std::regex_constants::error_type code) {
  namespace rc = std::regex_constants;
  switch (code) {
    case rc::error_paren:
      return QStringLiteral("a parenthesis is not matched");
    case rc::error_brack:
      return QStringLiteral("a bracket [ is not closed");
    case rc::error_brace:
      return QStringLiteral("a brace { is not closed");
    case rc::error_badbrace:
      return QStringLiteral("a count in braces is not valid");
    case rc::error_range:
      return QStringLiteral("a character range is not valid");
    case rc::error_escape:
      return QStringLiteral("an escape is not valid");
    case rc::error_backref:
      return QStringLiteral("a back reference names no group");
    case rc::error_badrepeat:
      return QStringLiteral("a repeat (*, +, ? or {}) follows nothing");
    case rc::error_ctype:
    case rc::error_collate:
      return QStringLiteral("a character class is not known");
    default:
      return QStringLiteral("it is too complex");
  }
}

// The search compiles the pattern with this grammar too; compiling it here
// first tells the user what is wrong, where the search would only fail.
void CheckRegularExpression(const std::string& pattern, const std::string& shown, bool matchCase) {
  auto flags = std::regex::ECMAScript;
  if (!matchCase) flags |= std::regex::icase;
  try {
    std::regex check(pattern, flags);
  } catch (const std::regex_error& e) {
    throw VexaError(QStringLiteral("\"%1\" is not a valid regular expression: %2")
                        .arg(QString::fromStdString(shown), RegexProblem(e.code())));
  }
}

}  // namespace

std::string TEditorControl::PrepareSearch(const std::string& needle,
                                          const TSearchOptions& options) {
  int flags = 0;
  if (options.MatchCase) flags |= SCFIND_MATCHCASE;
  std::string pattern = needle;
  if (options.RegularExpression) {
    flags |= SCFIND_REGEXP | SCFIND_CXX11REGEX;
    // The search leaves whole words to the expression itself.
    if (options.WholeWord) pattern = "\\b(?:" + needle + ")\\b";
    CheckRegularExpression(pattern, needle, options.MatchCase);
  } else if (options.WholeWord) {
    flags |= SCFIND_WHOLEWORD;
  }
  SendScintilla(SCI_SETSEARCHFLAGS, flags);
  return pattern;
}

long TEditorControl::SearchRange(const std::string& pattern, long from, long to) {
  SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
  const long at = SendScintilla(SCI_SEARCHINTARGET, static_cast<unsigned long>(pattern.size()),
                                pattern.c_str());
  if (SendScintilla(SCI_GETSTATUS) == SC_STATUS_WARNREGEX) {
    SendScintilla(SCI_SETSTATUS, 0L);
    throw VexaError(QStringLiteral("\"%1\" is not a valid regular expression")
                        .arg(QString::fromStdString(pattern)));
  }
  return at;
}

long TEditorControl::ReplaceTarget(const std::string& replacement, bool regularExpression) {
  return SendScintilla(regularExpression ? SCI_REPLACETARGETRE : SCI_REPLACETARGET,
                       static_cast<unsigned long>(replacement.size()), replacement.c_str());
}

bool TEditorControl::FindText(const std::string& needle, const TSearchOptions& options) {
  const std::string pattern = PrepareSearch(needle, options);
  const long selStart = SendScintilla(SCI_GETSELECTIONSTART);
  const long selEnd = SendScintilla(SCI_GETSELECTIONEND);
  const long length = SendScintilla(SCI_GETLENGTH);
  long at = options.Down ? SearchRange(pattern, selEnd, length) : SearchRange(pattern, selStart, 0);
  long end = at >= 0 ? SendScintilla(SCI_GETTARGETEND) : -1;
  // An empty match where the caret already stands would be found again and
  // again: the search goes on one character further.
  if (at >= 0 && at == end && at == selStart && selStart == selEnd) {
    if (options.Down) {
      const long next = SendScintilla(SCI_POSITIONAFTER, static_cast<unsigned long>(selEnd));
      at = next > selEnd ? SearchRange(pattern, next, length) : -1;
    } else {
      const long before = SendScintilla(SCI_POSITIONBEFORE, static_cast<unsigned long>(selStart));
      at = before < selStart ? SearchRange(pattern, before, 0) : -1;
    }
    end = at >= 0 ? SendScintilla(SCI_GETTARGETEND) : -1;
  }
  if (at < 0) return false;
  SendScintilla(SCI_SETSEL, static_cast<unsigned long>(at), end);
  SendScintilla(SCI_SCROLLCARET);
  NotifySelection();
  return true;
}

bool TEditorControl::ReplaceText(const std::string& needle, const std::string& replacement,
                                 const TSearchOptions& options) {
  {
    Operation op(*this);
    const std::string pattern = PrepareSearch(needle, options);
    const long selStart = SendScintilla(SCI_GETSELECTIONSTART);
    const long selEnd = SendScintilla(SCI_GETSELECTIONEND);
    // Only a selection that is itself an occurrence is replaced; otherwise the
    // command finds the next one first, as Find Next does.
    if (selEnd > selStart && SearchRange(pattern, selStart, selEnd) == selStart &&
        SendScintilla(SCI_GETTARGETEND) == selEnd) {
      SendScintilla(SCI_BEGINUNDOACTION);
      const long written = ReplaceTarget(replacement, options.RegularExpression);
      SendScintilla(SCI_ENDUNDOACTION);
      const long caret = options.Down ? selStart + written : selStart;
      SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
    }
  }
  // The change has been reported (and the document recoloured, which puts
  // the caret back) before the next occurrence is selected, so it stays
  // selected for the next Replace.
  return FindText(needle, options);
}

int TEditorControl::ReplaceAllText(const std::string& needle, const std::string& replacement,
                                   const TSearchOptions& options) {
  Operation op(*this);
  const std::string pattern = PrepareSearch(needle, options);
  int count = 0;
  long from = 0;
  SendScintilla(SCI_BEGINUNDOACTION);
  for (;;) {
    const long length = SendScintilla(SCI_GETLENGTH);
    if (from > length) break;
    const long at = SearchRange(pattern, from, length);
    if (at < 0) break;
    const bool empty = SendScintilla(SCI_GETTARGETEND) == at;
    from = at + ReplaceTarget(replacement, options.RegularExpression);
    ++count;
    // After an empty match the next search starts one character on, or the
    // same place would match forever.
    if (empty) {
      if (from >= SendScintilla(SCI_GETLENGTH)) break;
      from = SendScintilla(SCI_POSITIONAFTER, static_cast<unsigned long>(from));
    }
  }
  SendScintilla(SCI_ENDUNDOACTION);
  return count;
}
