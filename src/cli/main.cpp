// zorvin: the program's tables on standard output (see cli.h).
#include <cerrno>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "win32/error.h"
#include "win32/text.h"
#else
#include <cstdlib>

#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

using namespace zorvin::cli;

struct WriteFailure {
  int error;  // errno, or 0 where the system gave none
  std::string reason;
};

#ifdef _WIN32
// A console shows text it is given as UTF-16 whatever its code page: the
// degree sign of zorvin light reaches it as itself.
bool WroteToConsole(std::FILE* stream, const std::string& text) {
  const HANDLE console = GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (text.empty() || !GetConsoleMode(console, &mode)) return false;
  std::fflush(stream);
  const std::wstring wide = zorvin::win32::Widen(text);
  DWORD written = 0;
  return WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) &&
         written == wide.size();
}

// --color auto: colour where the console takes escapes once its
// virtual-terminal processing is on, as it is again when zorvin ends.
struct ConsoleColors {
  HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD original = 0;
  bool changed = false;

  bool TakesColor() {
    wchar_t noColor[2];
    if (GetEnvironmentVariableW(L"NO_COLOR", noColor, 2) > 0) return false;
    DWORD mode = 0;
    if (!GetConsoleMode(console, &mode)) return false;
    if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
    if (!SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return false;
    original = mode;
    changed = true;
    return true;
  }
  ~ConsoleColors() {
    if (changed) SetConsoleMode(console, original);
  }
};

int Columns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}
#else
// --color auto: colour on a terminal that shows it, unless NO_COLOR is set.
bool TakesColor() {
  const char* noColor = std::getenv("NO_COLOR");
  const char* term = std::getenv("TERM");
  return isatty(STDOUT_FILENO) == 1 && (noColor == nullptr || *noColor == '\0') &&
         (term == nullptr || std::string_view(term) != "dumb");
}

int Columns() {
  winsize size{};
  return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}
#endif

// Writes text whole; on failure, the system's error and reason.
std::optional<WriteFailure> WriteAll(std::FILE* stream, const std::string& text) {
#ifdef _WIN32
  if (WroteToConsole(stream, text)) return {};
#endif
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0) return {};
  const int error = errno;
  return WriteFailure{error, error != 0 ? std::generic_category().message(error) : "the write failed"};
}

int Main(const std::vector<std::string>& args, LineEnd platformEnd) {
  try {
#ifdef _WIN32
    ConsoleColors console;
    const Terminal terminal{[&console] { return console.TakesColor(); }, Columns};
#else
    const Terminal terminal{TakesColor, Columns};
#endif
    const Result result = Run(args, platformEnd, terminal);
    WriteAll(stderr, result.err);
    // A result that cannot be written whole is no success.
    if (const auto failed = WriteAll(stdout, result.out)) {
      // The reader has gone away (`zorvin find e | head -1`): end quietly, as
      // the standard tools do. On POSIX systems SIGPIPE has ended zorvin
      // already, unless whoever started it ignores the signal.
      if (failed->error == EPIPE) return kCannotWrite;
      WriteAll(stderr, "zorvin: cannot write the output: " + failed->reason + "\n");
      return kCannotWrite;
    }
    return result.status;
  } catch (const std::bad_alloc&) {
    WriteAll(stderr, "zorvin: out of memory\n");
  } catch (const std::exception& error) {
    WriteAll(stderr, std::string("zorvin: ") + error.what() + "\n");
  }
  return kInternalError;
}

}  // namespace

#ifdef _WIN32
// The arguments arrive as UTF-16 and are passed on as UTF-8; the output is
// written byte for byte, its line ends chosen by the program.
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    try {
      args.push_back(zorvin::win32::ToUtf8(argv[i]));
    } catch (const zorvin::win32::UiError&) {
      WriteAll(stderr, "zorvin: argument " + std::to_string(i) + " cannot be converted to UTF-8\n");
      return kBadUsage;
    } catch (const std::bad_alloc&) {
      WriteAll(stderr, "zorvin: out of memory\n");
      return kInternalError;
    }
  }
  return Main(args, LineEnd::CrLf);
}
#else
int main(int argc, char** argv) {
  return Main(std::vector<std::string>(argv + 1, argv + argc), LineEnd::Lf);
}
#endif
