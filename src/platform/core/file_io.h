// Whole-file reads and writes on the file system, safe against what a real
// machine holds in place of a file: FIFOs and devices are never read or
// replaced, links planted under the program's own file names are never
// followed, and no read grows past the largest text the program can hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fileio {

// The largest text the program takes: positions in the editor and in the
// scanners are signed 32-bit numbers.
constexpr std::uint64_t kMaxTextBytes = 0x7FFFFFFF;

enum class ReadStatus {
  Ok,
  Missing,     // nothing of that name
  NotRegular,  // a folder, FIFO, device or socket (or a link to one)
  TooLarge,    // more than the limit
  Failed,      // the system refused; Error holds why
};

struct ReadResult {
  ReadStatus Status = ReadStatus::Failed;
  // The system's error number for any status but Ok: ENOENT when missing,
  // EISDIR for a folder, EINVAL for other kinds of file, EFBIG when too large.
  int Error = 0;
  std::uint64_t Size = 0;  // bytes found (for TooLarge: at least this many)
  bool SizeKnown = false;  // Size is the file's whole size, not a lower bound
};

// Opens a regular file (or a link to one) for reading without ever blocking:
// anything else is not opened at all. Returns the descriptor, or -1 with the
// reason in `result`.
int OpenRegularFile(const std::string& path, ReadResult& result);

// Reads a regular file (or a link to one) whole into `bytes`.
ReadResult ReadRegularFile(const std::string& path, std::string& bytes,
                           std::uint64_t limit = kMaxTextBytes);

// Reads the first line of a regular file (or a link to one), without its line
// end (CR, LF or CR LF); the rest of the file is not read.
ReadResult ReadFirstLine(const std::string& path, std::string& line,
                         std::uint64_t limit = kMaxTextBytes);

// Reads an open descriptor to its end into `bytes`: a regular file in one
// piece of its size, any other stream as it comes, stopping with TooLarge as
// soon as more than `limit` bytes arrive (so an endless stream ends too).
// Throws std::bad_alloc when memory runs out.
ReadResult ReadDescriptor(int fd, std::string& bytes, std::uint64_t limit = kMaxTextBytes);

enum class WriteStatus {
  Ok,
  Refused,  // the name is held by something that must not be written
  Failed,   // the system refused; the old file is as it was, unless InPlace
};

// What holds a name that a write refused.
enum class Obstacle {
  None,
  Link,  // a symbolic link, under a name the program chose
  Folder,
  Fifo,
  Device,
  Socket,
  OthersFile,  // a regular file of another user, under a name the program chose
};

struct WriteResult {
  WriteStatus Status = WriteStatus::Failed;
  int Error = 0;
  bool InPlace = false;                // written into the existing file rather than renamed over it
  Obstacle InTheWay = Obstacle::None;  // for Refused
};

// How a file under a name the program chose treats a symbolic link there.
enum class LinkRule {
  Never,     // a link is refused, whoever made it
  UsersOwn,  // a link the user owns is followed to its target
};

// Writes a file whose name the program chose itself (scratch copy, settings,
// lists, project files). The name must be free or hold a regular file the user
// owns; anything else (another user's file, a FIFO, a link unless the rule
// follows it) is Refused and nothing is written. The bytes go to a new file
// beside the target that then takes its name in one rename, which replaces a
// link planted meanwhile instead of following it.
WriteResult WriteOwnFile(const std::string& path, std::string_view bytes,
                         LinkRule links = LinkRule::Never);

// Writes a file the user named (Save, Save As): through links, to their
// target. A target that is not a regular file is Refused and left alone. The
// old file is replaced by a renamed new one where that keeps the file what it
// was (the folder is writable, the file has one name, the user owns it, and
// its group and extended attributes carry over); otherwise the prepared bytes
// are written into the file itself.
WriteResult WriteUserFile(const std::string& path, std::string_view bytes);

enum class CopyStatus {
  Copied,
  Taken,             // the destination name is held by something, a link included
  SourceUnreadable,  // the source is missing or not a regular file
  Failed,
};

// Copies a file to a name that must be free; the destination is made whole
// beside its name and only then takes it, so a name held by anything (also a
// link, also one planted while copying) stays as it is.
CopyStatus CopyToNewFile(const std::string& source, const std::string& destination);

// Why a read or a write failed, in a few words for the line under the error
// message: the system's own text for its error numbers (as strerror gives it),
// what stands in the way for a refused write. Empty for a success.
std::string FailureReason(const ReadResult& result);
std::string FailureReason(const WriteResult& result);
// The system's text for an error number; empty for 0.
std::string SystemReason(int error);

// Removes a file (never a folder): 0 when it is gone, also when nothing held
// the name; otherwise the system's error number, and the file stays.
int RemoveFile(const std::string& path);

// Empties a regular file of the user's in place, never through a link, for a
// file that cannot be removed: 0, or the system's error number.
int EmptyFile(const std::string& path);

}  // namespace fileio
