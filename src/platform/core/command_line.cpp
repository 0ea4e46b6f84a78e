#include "command_line.h"

#include <cstring>

namespace {

// Qt's options, taken out of the arguments by the application object; the
// first ones are followed by a value, as "-style fusion" or "-style=fusion".
const char* const kQtOptionsWithValue[] = {"platform",
                                           "platformpluginpath",
                                           "platformtheme",
                                           "plugin",
                                           "qwindowgeometry",
                                           "geometry",
                                           "qwindowtitle",
                                           "title",
                                           "qwindowicon",
                                           "icon",
                                           "session",
                                           "style",
                                           "stylesheet",
                                           "display",
                                           "name",
                                           "visual",
                                           "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

template <std::size_t N>
bool Contains(const char* const (&names)[N], const std::string& name) {
  for (const char* n : names) {
    if (name == n) return true;
  }
  return false;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  TCommandLine result;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      result.Files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      // The first of help and version wins; the rest of the line is not looked at.
      result.Action = TCommandLine::TAction::Help;
      return result;
    } else if (arg == "--version") {
      result.Action = TCommandLine::TAction::Version;
      return result;
    } else {
      // Qt reads its options with one dash or two.
      std::string name = arg.substr(arg[1] == '-' ? 2 : 1);
      const std::size_t equals = name.find('=');
      const bool hasValue = equals != std::string::npos;
      if (hasValue) name.resize(equals);
      if (Contains(kQtOptionsWithValue, name)) {
        if (!hasValue) ++i;
        if (i >= args.size()) {
          result.Action = TCommandLine::TAction::Usage;
          result.Problem = "option '" + arg + "' needs a value";
          return result;
        }
      } else if (!Contains(kQtFlags, name) || hasValue) {
        result.Action = TCommandLine::TAction::Usage;
        result.Problem = "unknown option '" + arg + "'";
        return result;
      }
    }
  }
  return result;
}

std::string CommandLineUsage() {
  return "usage: vexa [OPTION]... [FILE]\n"
         "Edits web pages and scripts. FILE is opened once the editor has started;\n"
         "the editor holds one document, so of several files only the first is opened.\n"
         "\n"
         "  -h, --help     show this help and exit\n"
         "      --version  show the version and exit\n"
         "  --             take every argument after it as a file name\n"
         "\n"
         "Qt's own options (-platform, -style, -display, ...) are accepted as well.\n";
}

int AnswerCommandLine(const TCommandLine& commandLine, const std::string& version, std::FILE* out,
                      std::FILE* err) {
  switch (commandLine.Action) {
    case TCommandLine::TAction::Help:
      std::fputs(CommandLineUsage().c_str(), out);
      return 0;
    case TCommandLine::TAction::Version:
      std::fprintf(out, "Vexa Web Editor Pro %s\n", version.c_str());
      return 0;
    case TCommandLine::TAction::Usage:
      std::fprintf(err, "vexa: %s\n%s", commandLine.Problem.c_str(), CommandLineUsage().c_str());
      return 2;
    case TCommandLine::TAction::Run:
      break;
  }
  return 0;
}
