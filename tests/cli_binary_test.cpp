// The real zorvin binary, as a script runs it (POSIX only): its bytes, its
// exit statuses, and a failed write, each with its own status.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cli.h"
#include "cli_support.h"

namespace zorvin::cli {
namespace {

// The real binary, as a script runs it.
struct Output {
  std::string out;
  int status;
};

Output RunBinary(const std::string& arguments) {
  const std::string command = std::string(ZORVIN_CLI_EXE) + " " + arguments + " 2>/dev/null";
  Output output{"", -1};
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
      output.out.append(buffer, got);
    const int status = pclose(pipe);
    output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return output;
}

TEST(CliBinary, PrintsEveryLevelAndCategoryByteForByte) {
  for (std::string_view level : GoldenLevels()) {
    const Output output = RunBinary("level " + std::string(level));
    EXPECT_EQ(output.status, kFound) << level;
    EXPECT_EQ(output.out, AsPrinted(GoldenBlock(level), LineEnd::Lf)) << level;
  }
  for (std::string_view category : GoldenCategories()) {
    EXPECT_EQ(RunBinary("--crlf effects " + std::string(category)).out,
              AsPrinted(GoldenListing(category), LineEnd::CrLf))
        << category;
  }
}

TEST(CliBinary, ExitStatuses) {
  EXPECT_EQ(RunBinary("levels").status, kFound);
  EXPECT_EQ(RunBinary("level mp_toujan").status, kNotFound);
  EXPECT_EQ(RunBinary("level").status, kBadUsage);
  EXPECT_EQ(RunBinary("--frobnicate").status, kBadUsage);
  EXPECT_EQ(RunBinary("--version").out, "zorvin 1.00\n");
}

// zorvin's export with its standard output on fd; gives what it wrote to
// standard error and its status as a shell gives it (128 + N for signal N).
Output RunWithOutputTo(int fd, void (*pipeSignal)(int)) {
  int err[2];
  if (pipe(err) != 0) return {"pipe failed", -1};
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGPIPE, pipeSignal);
    dup2(fd, STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    execl(ZORVIN_CLI_EXE, ZORVIN_CLI_EXE, "export", "--format", "csv", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(err[1]);
  Output output{"", -1};
  char buffer[512];
  for (ssize_t got; (got = read(err[0], buffer, sizeof(buffer))) > 0;) output.out.append(buffer, std::size_t(got));
  close(err[0]);
  int status = 0;
  if (waitpid(child, &status, 0) == child) {
    if (WIFEXITED(status)) output.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) output.status = 128 + WTERMSIG(status);
  }
  return output;
}

// A result that cannot be written is a failure of its own, with the reason;
// a reader that has gone away ends zorvin quietly, as it does the standard tools.
TEST(CliBinary, AFailedWriteHasItsOwnStatusAndSaysWhy) {
  int closed[2];
  ASSERT_EQ(pipe(closed), 0);
  close(closed[0]);  // nobody reads: the write fails with EPIPE
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  struct Case {
    const char* what;
    int fd;
    void (*pipeSignal)(int);
    int status;
    const char* message;  // on standard error
  };
  const Case cases[] = {
      {"full disk", full, SIG_DFL, kCannotWrite, "zorvin: cannot write the output: No space left on device\n"},
      {"closed pipe", closed[1], SIG_DFL, 128 + SIGPIPE, ""},
      {"closed pipe, SIGPIPE ignored by the caller", closed[1], SIG_IGN, kCannotWrite, ""},
  };
  for (const Case& c : cases) {
    const Output output = RunWithOutputTo(c.fd, c.pipeSignal);
    EXPECT_EQ(output.status, c.status) << c.what;
    EXPECT_EQ(output.out, c.message) << c.what;
  }
  close(closed[1]);
  close(full);
}

}  // namespace
}  // namespace zorvin::cli
