// zorvin: the program's tables on standard output (see cli.h).
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

bool WriteAll(std::FILE* stream, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}

int Main(const std::vector<std::string>& args, zorvin::cli::LineEnd platformEnd) {
  try {
    const zorvin::cli::Result result = zorvin::cli::Run(args, platformEnd);
    WriteAll(stderr, result.err);
    // A result that cannot be written whole is no success.
    if (!WriteAll(stdout, result.out)) {
      WriteAll(stderr, "zorvin: cannot write the output\n");
      return zorvin::cli::kBadUsage;
    }
    return result.status;
  } catch (const std::bad_alloc&) {
    WriteAll(stderr, "zorvin: out of memory\n");
    return zorvin::cli::kBadUsage;
  } catch (const std::exception& error) {
    WriteAll(stderr, std::string("zorvin: ") + error.what() + "\n");
    return zorvin::cli::kBadUsage;
  }
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
    const int length = static_cast<int>(wcslen(argv[i]));
    std::string arg;
    if (length > 0) {
      const int needed = WideCharToMultiByte(CP_UTF8, 0, argv[i], length, nullptr, 0, nullptr, nullptr);
      arg.resize(static_cast<std::size_t>(needed > 0 ? needed : 0));
      if (needed > 0) WideCharToMultiByte(CP_UTF8, 0, argv[i], length, arg.data(), needed, nullptr, nullptr);
    }
    args.push_back(std::move(arg));
  }
  return Main(args, zorvin::cli::LineEnd::CrLf);
}
#else
int main(int argc, char** argv) {
  return Main(std::vector<std::string>(argv + 1, argv + argc), zorvin::cli::LineEnd::Lf);
}
#endif
