// vexa-rtf: runs one highlighter over a file or standard input and writes the
// RTF document, or the token stream, to standard output. Scripts rely on its
// options, output bytes and exit statuses (1: unreadable input, 2: bad usage).
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
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

// The input bytes with a NUL after them, as the scanners expect.
struct Input {
  std::unique_ptr<char[]> Bytes;
  std::size_t Size = 0;
};

// Reads the whole stream as raw bytes; false when a read fails. A regular file
// is read at once into a buffer of its size; other streams grow one as needed.
bool ReadAll(std::FILE* file, Input& input) {
  std::size_t capacity = 1 << 16;
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
    capacity = static_cast<std::size_t>(info.st_size) + 1;
  input.Bytes.reset(new char[capacity]);
  for (;;) {
    if (input.Size + 1 == capacity) {
      // A full buffer usually holds the whole file already: only a byte found
      // behind it is worth a larger buffer and a copy.
      char probe;
      if (std::fread(&probe, 1, 1, file) == 0) break;
      std::unique_ptr<char[]> larger(new char[capacity * 2]);
      std::memcpy(larger.get(), input.Bytes.get(), input.Size);
      input.Bytes = std::move(larger);
      capacity *= 2;
      input.Bytes[input.Size++] = probe;
      continue;
    }
    const std::size_t n =
        std::fread(input.Bytes.get() + input.Size, 1, capacity - 1 - input.Size, file);
    if (n == 0) break;
    input.Size += n;
  }
  input.Bytes[input.Size] = '\0';
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

  Input text;
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
  highlighter.SetText(text.Bytes.get());
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
