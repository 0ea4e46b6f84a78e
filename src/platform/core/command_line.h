// The program's command line: the files handed over by the shell or the desktop
// and the few options of its own. Qt's own options (-platform, -style, ...) are
// left for Qt, which takes them out of the arguments itself.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct TCommandLine {
  enum class TAction { Run, Help, Version, Usage };
  TAction Action = TAction::Run;
  std::vector<std::string> Files;  // in the order given
  std::string Problem;             // for Usage: what was wrong
};

// The arguments after the program name.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string CommandLineUsage();

// For every action but Run: prints the help or the version to out, or the
// problem and the usage to err, and returns the exit status (0, or 2 for a bad
// command line).
int AnswerCommandLine(const TCommandLine& commandLine, const std::string& version, std::FILE* out,
                      std::FILE* err);
