// vexa-rtf: runs one highlighter over a file or standard input and writes the
// RTF document, or the token stream, to standard output. Scripts rely on its
// options, output bytes and exit statuses (1: unreadable input, 2: bad usage).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

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

// Reads the whole stream as raw bytes; false when a read fails.
bool ReadAll(std::FILE* file, std::string& out) {
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) != 0) out.append(buffer, n);
  return !std::ferror(file);
}

int Usage(std::FILE* to, int status) {
  std::fputs(kUsage, to);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
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

  std::string text;
  if (path == nullptr || std::strcmp(path, "-") == 0) {
    if (!ReadAll(stdin, text)) {
      std::fprintf(stderr, "vexa-rtf: cannot read standard input: %s\n", std::strerror(errno));
      return 1;
    }
  } else {
    std::FILE* file = std::fopen(path, "rb");
    const bool ok = file != nullptr && ReadAll(file, text);
    const int error = errno;
    if (file != nullptr) std::fclose(file);
    if (!ok) {
      std::fprintf(stderr, "vexa-rtf: cannot read %s: %s\n", path, std::strerror(error));
      return 1;
    }
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
