#include "shell_open.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>

#include "vexa_error.h"

namespace shell {
namespace {

// Writes an error number into the report pipe; async-signal-safe.
void Report(int fd, int error) {
  while (write(fd, &error, sizeof error) < 0 && errno == EINTR) {
  }
}

}  // namespace

QString SystemMessage(int error) { return qt_error_string(error); }

void OpenExecutable(const QString& path) {
  const QByteArray file = QFile::encodeName(path);
  char* const argv[] = {const_cast<char*>(file.constData()), nullptr};

  // The program runs as a grandchild, so it is never left as a zombie of the
  // editor; a close-on-exec pipe brings back the error number when the exec
  // fails and closes silently when it succeeds.
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw VexaError(SystemMessage(errno));
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(pipeFds[0]);
    close(pipeFds[1]);
    throw VexaError(SystemMessage(error));
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on: the editor has other threads.
    close(pipeFds[0]);
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      setsid();
      execv(file.constData(), argv);
      Report(pipeFds[1], errno);
      _exit(127);
    }
    if (grandchild < 0) Report(pipeFds[1], errno);
    _exit(0);
  }
  close(pipeFds[1]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(pipeFds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(pipeFds[0]);
  if (got == static_cast<ssize_t>(sizeof error)) throw VexaError(SystemMessage(error));
}

}  // namespace shell
