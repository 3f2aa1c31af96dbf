// Child processes on posix_spawnp/waitpid; the current process's identity,
// environment and directory.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "cx/status.h"
#include "cx/sys_call.h"

struct CxProcess {
  pid_t pid;
  bool ended;         // reaped: exitCode holds its result
  uint32_t exitCode;
};

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The command line: program, then each argument preceded by one blank.
char *joinCommandLine(const char *program, const char *const *args) {
  size_t len = std::strlen(program);
  for (const char *const *a = args; a != nullptr && *a != nullptr; ++a) len += 1 + std::strlen(*a);
  if (len + 1 > UINT32_MAX) return nullptr;
  char *line = static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(len + 1)));
  if (line == nullptr) return nullptr;
  char *p = line;
  std::memcpy(p, program, std::strlen(program));
  p += std::strlen(program);
  for (const char *const *a = args; a != nullptr && *a != nullptr; ++a) {
    *p++ = ' ';
    size_t n = std::strlen(*a);
    std::memcpy(p, *a, n);
    p += n;
  }
  *p = '\0';
  return line;
}

// Splits the line in place at runs of blanks; returns a null-terminated word
// array (freed by the caller) and the word count in *words.
char **splitWords(char *line, size_t *words) {
  size_t n = 0;
  for (char *p = line; *p != '\0'; ++p)
    if (!isBlank(*p) && (p == line || isBlank(p[-1]))) ++n;
  *words = n;
  auto **argv = static_cast<char **>(BasMemoryCalloc(static_cast<uint32_t>(n + 1), sizeof(char *)));
  if (argv == nullptr) return nullptr;
  size_t i = 0;
  for (char *p = line; *p != '\0'; ++p) {
    if (isBlank(*p)) {
      *p = '\0';
    } else if (p == line || p[-1] == '\0') {
      argv[i++] = p;
    }
  }
  return argv;
}

uint32_t exitCodeOf(int status) {
  if (WIFEXITED(status)) return static_cast<uint32_t>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<uint32_t>(WTERMSIG(status));
  return 0;
}

// Reaps the child if it has ended (or, with wait, once it ends). Returns
// false with errno set when waitpid fails.
bool poll(CxProcess *proc, bool wait) {
  if (proc->ended) return true;
  int status = 0;
  pid_t rc = cx::retryEintr([&] { return ::waitpid(proc->pid, &status, wait ? 0 : WNOHANG); });
  if (rc < 0) return false;
  if (rc == proc->pid) {
    proc->ended = true;
    proc->exitCode = exitCodeOf(status);
  }
  return true;
}

}  // namespace

extern "C" {

const char *CxProcessGetEnv(const char *name) {
  return name == nullptr ? nullptr : std::getenv(name);
}

uint32_t CxProcessGetCurrentID(void) { return static_cast<uint32_t>(::getpid()); }

CxStatus CxProcessGetCwd(char *buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return cx::badArg();
  if (::getcwd(buffer, size) == nullptr) {
    CxStatus s = cx::sysErrno();
    buffer[0] = '\0';
    return s;
  }
  return cx::ok();
}

CxStatus CxProcessCreate(CxProcessHandle *handle, const char *program, const char *const *args) {
  if (handle == nullptr) return cx::badArg();
  *handle = nullptr;
  if (program == nullptr || program[0] == '\0') return cx::badArg();
  char *line = joinCommandLine(program, args);
  if (line == nullptr) return cx::sys(ENOMEM);
  size_t words = 0;
  char **argv = splitWords(line, &words);
  auto *proc = static_cast<CxProcess *>(BasMemoryMalloc(sizeof(CxProcess)));
  CxStatus result = cx::ok();
  if (argv == nullptr || proc == nullptr) {
    result = cx::sys(ENOMEM);
  } else if (words == 0) {
    result = cx::badArg();  // only blanks: nothing to run
  } else {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    int rc = posix_spawn_file_actions_init(&actions);
    // Only the standard streams reach the child.
    if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (rc == 0) rc = posix_spawnattr_init(&attr);
    if (rc == 0) {
      // The child starts with no blocked signals and default handling, not
      // with whatever the calling application set up for itself.
      sigset_t none, all;
      sigemptyset(&none);
      sigfillset(&all);
      rc = posix_spawnattr_setsigmask(&attr, &none);
      if (rc == 0) rc = posix_spawnattr_setsigdefault(&attr, &all);
      if (rc == 0) rc = posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
      pid_t pid = 0;
      if (rc == 0) rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv, environ);
      if (rc == 0) {
        *proc = CxProcess{pid, false, 0};
        *handle = proc;
        proc = nullptr;
      }
      posix_spawnattr_destroy(&attr);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) result = cx::sys(rc);
  }
  BasMemoryFree(proc);
  BasMemoryFree(argv);
  BasMemoryFree(line);
  return result;
}

CxStatus CxProcessWaitFor(CxProcessHandle handle, CxProcessResult *result, unsigned char wait) {
  if (handle == nullptr || result == nullptr) return cx::badArg();
  if (!poll(handle, wait != 0)) return cx::sysErrno();
  *result = CxProcessResult{handle->ended ? 1u : 0u, handle->ended ? handle->exitCode : 0u, 0, 0};
  return cx::ok();
}

CxStatus CxProcessRelease(CxProcessHandle handle) {
  if (handle == nullptr) return cx::badArg();
  // A child that has ended is reaped now; one that still runs is left alone.
  poll(handle, false);
  BasMemoryFree(handle);
  return cx::ok();
}

}  // extern "C"
