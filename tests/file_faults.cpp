// A bad day for zorvin's file code, loaded with LD_PRELOAD: the system call
// that ZORVIN_FAULT names misbehaves as file systems, other programs and the
// kernel have been seen to.
//   link-refused          link() fails with EPERM (no hard links here), so a backup is a copy
//   editor-saves          as link-refused, and an editor saves the map by a rename just then
//                         (ZORVIN_FAULT_ARG: the editor's new file)
//   editor-saves-late     as editor-saves, on a system that cannot exchange two names
//   editor-saves-last     the editor saves just as zorvin exchanges the names, after its last check
//   killed-copying-backup as link-refused, and the process is killed as the copy starts
//   fchmod-fails          fchmod() fails with EPERM
//   copy-ends-early       copy_file_range() copies nothing, as if at the end
//   read-ends-early       read() of a regular file ends after its first MB
//   folder-flush-fails    fsync() of a folder fails with EIO
//   no-threads            pthread_create() fails with EAGAIN
#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Is(const char* fault) {
  const char* chosen = getenv("ZORVIN_FAULT");
  return chosen != nullptr && strcmp(chosen, fault) == 0;
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool g_linkRefused = false;  // a backup is being copied from here on
unsigned long long g_read = 0;

}  // namespace

extern "C" {

int link(const char* from, const char* to) {
  if (Is("link-refused") || Is("killed-copying-backup") || Is("editor-saves") || Is("editor-saves-late")) {
    if (Is("editor-saves") || Is("editor-saves-late")) rename(getenv("ZORVIN_FAULT_ARG"), from);
    g_linkRefused = true;
    errno = EPERM;
    return -1;
  }
  return Next<int (*)(const char*, const char*)>("link")(from, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
  if (Is("editor-saves-late")) {
    errno = EINVAL;
    return -1;
  }
  static bool saved = false;
  if (Is("editor-saves-last") && (flags & RENAME_EXCHANGE) != 0 && !saved) {
    saved = true;
    rename(getenv("ZORVIN_FAULT_ARG"), to);
  }
  return Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(fromFolder, from, toFolder, to, flags);
}

ssize_t write(int fd, const void* data, size_t size) {
  if (Is("killed-copying-backup") && g_linkRefused) raise(SIGKILL);
  return Next<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
}

int fchmod(int fd, mode_t mode) {
  if (Is("fchmod-fails")) {
    errno = EPERM;
    return -1;
  }
  return Next<int (*)(int, mode_t)>("fchmod")(fd, mode);
}

ssize_t copy_file_range(int from, off_t* fromAt, int to, off_t* toAt, size_t size, unsigned flags) {
  if (Is("copy-ends-early")) return 0;
  return Next<ssize_t (*)(int, off_t*, int, off_t*, size_t, unsigned)>("copy_file_range")(from, fromAt, to, toAt, size,
                                                                                         flags);
}

ssize_t read(int fd, void* data, size_t size) {
  if (Is("read-ends-early")) {
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
      if (g_read >= (1u << 20)) return 0;
      if (size > (1u << 20) - g_read) size = (1u << 20) - g_read;
    }
  }
  const ssize_t got = Next<ssize_t (*)(int, void*, size_t)>("read")(fd, data, size);
  if (got > 0) g_read += static_cast<unsigned long long>(got);
  return got;
}

int fsync(int fd) {
  struct stat status {};
  if (Is("folder-flush-fails") && fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
    errno = EIO;
    return -1;
  }
  return Next<int (*)(int)>("fsync")(fd);
}

int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*), void* argument) {
  if (Is("no-threads")) return EAGAIN;
  return Next<int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*)>("pthread_create")(thread, attributes,
                                                                                                     start, argument);
}

}  // extern "C"
