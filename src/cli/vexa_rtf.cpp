// vexa-rtf: runs one highlighter over a file or standard input and writes the
// RTF document, or the token stream, to standard output. Scripts rely on its
// options, output bytes and exit statuses (1: unreadable or too large input,
// or no memory for it; 2: bad usage).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "file_io.h"
#include "highlighter_factory.h"
#include "token_dump.h"

namespace {

const char kUsage[] =
    "usage: vexa-rtf [--syntax NAME] [--tokens] [FILE]\n"
    "Writes the RTF document of FILE (standard input when FILE is absent or \"-\")\n"
    "to standard output, highlighted as NAME: one of \"HTML\", \"PHP\", \"JAVA SCRIPT\",\n"
    "\"VBSCRIPT\", \"DELPHI SCRIPT\", \"SQL\", \"XML\"; any other name gives HTML.\n"
    "  --syntax NAME  the syntax (default \"HTML\")\n"
    "  --tokens       one line per token instead: kind, colour index, text\n"
    "  --help         this text\n";

class StdoutStream : public TStream {
 public:
  void Write(const char* data, std::size_t count) override {
    if (count != 0) std::fwrite(data, 1, count, stdout);
  }
};

int Usage(std::FILE* to, int status) {
  std::fputs(kUsage, to);
  return status;
}

int Run(int argc, char** argv) {
  std::string syntax = "HTML";
  bool tokens = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") return Usage(stdout, 0);
    if (arg == "--tokens") {
      tokens = true;
    } else if (arg == "--syntax") {
      if (i + 1 >= argc) return Usage(stderr, 2);
      syntax = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(stderr, 2);
    } else if (path != nullptr) {
      return Usage(stderr, 2);
    } else {
      path = argv[i];
    }
  }

  // Any input is read with the one size limit of the program, so an endless
  // stream ends too; the scanners find a NUL after the text.
  std::string text;
  const bool fromStdin = path == nullptr || std::strcmp(path, "-") == 0;
  const std::string name = fromStdin ? "standard input" : path;
  fileio::ReadResult read;
  if (fromStdin) {
    read = fileio::ReadDescriptor(STDIN_FILENO, text);
  } else {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      read.Error = errno;
    } else {
      read = fileio::ReadDescriptor(fd, text);
      ::close(fd);
    }
  }
  if (read.Status == fileio::ReadStatus::TooLarge) {
    // A stream is not read past the limit: how much more it held is unknown.
    const auto limit = static_cast<unsigned long long>(fileio::kMaxTextBytes);
    std::fprintf(stderr, "vexa-rtf: %s: too large (%s%llu bytes; at most %llu)\n", name.c_str(),
                 read.SizeKnown ? "" : "more than ",
                 read.SizeKnown ? static_cast<unsigned long long>(read.Size) : limit, limit);
    return 1;
  }
  if (read.Status != fileio::ReadStatus::Ok) {
    std::fprintf(stderr, "vexa-rtf: cannot read %s: %s\n", name.c_str(), std::strerror(read.Error));
    return 1;
  }

  HighlighterChoice choice = CreateHighlighter(syntax);
  TqorRTFSyntax& highlighter = *choice.Highlighter;
  // The scanner reads the text in place; it stays alive until the output is written.
  highlighter.SetText(text.c_str());
  StdoutStream out;
  if (tokens) {
    std::string lines;
    TokenRecord token;
    while (!highlighter.GetEol()) {
      token.Kind = highlighter.GetTokenKindName();
      token.Color = highlighter.GetTokenKind();
      token.Text = highlighter.GetToken();
      AppendTokenLine(lines, token);
      if (lines.size() >= (1u << 16)) {
        out.Write(lines.data(), lines.size());
        lines.clear();
      }
      highlighter.Next();
    }
    out.Write(lines.data(), lines.size());
  } else {
    highlighter.ConvertToRtf(out);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "vexa-rtf: cannot write standard output: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    // Out of memory is an input this machine cannot take, not a crash.
    std::fputs("vexa-rtf: out of memory\n", stderr);
    return 1;
  }
}
