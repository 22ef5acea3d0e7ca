// zorvin check on the shared fixtures (tests/check/: the files, the
// designer's own effects, and what each format prints of them), and its
// statuses.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli_support.h"

namespace zorvin::cli {
namespace {

std::string CheckDir() {
  std::string dir = ZORVIN_CHECK_DIR;
#ifdef _WIN32
  if (dir.starts_with('/')) dir = "Z:" + dir;
#endif
  return dir;
}

// The output with the fixtures' folder named as the expected files name it
// (as GitHub's workflow commands write it too, ':' as %3A: Z:/ under Wine).
std::string Relative(std::string text) {
  std::string escaped = CheckDir() + "/";
  if (const std::size_t colon = escaped.find(':'); colon != std::string::npos) escaped.replace(colon, 1, "%3A");
  for (const std::string& prefix : {CheckDir() + "/", escaped}) {
    for (std::size_t at; (at = text.find(prefix)) != std::string::npos;) text.erase(at, prefix.size());
  }
  return text;
}

TEST(CliCheck, EachFormatOfTheFixturesIsTheExpectedOne) {
  for (const char* format : {"txt", "json", "github", "sarif"}) {
    const Result result = Zorvin({"check", CheckDir() + "/files", "--effects", CheckDir() + "/effects", "--format",
                                  std::string_view(format) == "txt" ? "text" : format});
    EXPECT_EQ(Relative(result.out), ReadFile(CheckDir() + "/expected." + format)) << format;
    EXPECT_EQ(result.err, "zorvin: skipped 4 files: hidden, backups or not text\n"
                          "4 errors and 3 warnings in 3 of 3 files (10 references)\n") << format;
    EXPECT_EQ(result.status, 1) << format;
  }
}

TEST(CliCheck, StatusesAndWhatIsSkipped) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const std::string files = CheckDir() + "/files";
  const Case cases[] = {
      // A file named is checked, a backup or hidden file too.
      {{"check", files + "/.hidden.gsc"}, 1, "1 error and 0 warnings in 1 of 1 file (1 reference)\n"},
      {{"check", files + "/sub"}, 1, "2 errors and 0 warnings in 1 of 1 file (2 references)\n"},  // myFire.efx is none of the stock
      {{"check", CheckDir() + "/effects"}, 0, "0 errors and 0 warnings in 0 of 1 file (0 references)\n"},
      {{"check", files + "/missing.gsc"}, 2, "zorvin: '" + files + "/missing.gsc' does not exist\n"},
      {{"check", files, "--effects", files + "/level.gsc"}, 2, "zorvin: --effects '" + files + "/level.gsc' is no folder\n"},
      {{"check", files, "--format", "xml"}, 2, ""},
  };
  for (const Case& c : cases) {
    const Result result = Zorvin(c.args);
    EXPECT_EQ(result.status, c.status) << c.args[1];
    if (!c.err.empty()) {
      EXPECT_EQ(result.err, c.err) << c.args[1];
    }
  }
#ifndef _WIN32
  // A file that cannot be read is named and gives 5; the others are still checked.
  const std::filesystem::path fifo = std::filesystem::temp_directory_path() / "zorvin-check-fifo";
  std::filesystem::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const Result result = Zorvin({"check", Utf8(fifo), files + "/sub/notes.txt"});
  EXPECT_EQ(result.status, 5);
  EXPECT_EQ(result.err, "zorvin: " + Utf8(fifo) + " is not a regular file\n2 errors and 0 warnings in 1 of 1 file (2 references)\n");
  std::filesystem::remove(fifo);

  // A link to a folder is not followed: one above would walk it for ever
  // (each file found again at every depth); a link to a file is checked.
  const std::filesystem::path tree = std::filesystem::temp_directory_path() / "zorvin-check-links";
  std::filesystem::remove_all(tree);
  std::filesystem::create_directories(tree / "sub");
  std::filesystem::copy_file(files + "/sub/notes.txt", tree / "sub/notes.txt");
  std::filesystem::create_directory_symlink("..", tree / "sub/up");
  std::filesystem::create_symlink("sub/notes.txt", tree / "notes-link.txt");
  const Result walked = Zorvin({"check", Utf8(tree)});
  EXPECT_EQ(walked.err, "4 errors and 0 warnings in 2 of 2 files (4 references)\n");
  std::filesystem::remove_all(tree);
#endif
}

// --fix on a copy of the fixtures: --dry-run shows the change and writes
// nothing; then only the names' bytes change, each old file is kept as a
// backup, and a second --fix mends nothing and reports what it cannot.
TEST(CliCheck, FixMendsOnlyTheNamesAndASecondFixFindsNothing) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zorvin-check-fix";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::filesystem::copy(CheckDir() + "/files", dir / "files", std::filesystem::copy_options::recursive);
  // Named with '/' throughout, as the files of a folder are.
  const std::string root = Utf8(dir.generic_u8string()), files = root + "/files", effects = CheckDir() + "/effects";
  const auto relative = [&](std::string text) {
    for (std::size_t at; (at = text.find(root + "/")) != std::string::npos;) text.erase(at, root.size() + 1);
    return text;
  };
  const Result dry = Zorvin({"check", files, "--effects", effects, "--fix", "--dry-run"});
  EXPECT_EQ(relative(dry.out), ReadFile(CheckDir() + "/expected.diff"));
  EXPECT_EQ(ReadFile(dir / "files/level.gsc"), ReadFile(CheckDir() + "/files/level.gsc"));

  const Result fixed = Zorvin({"check", files, "--effects", effects, "--fix"});
  const std::string remaining = "files/level.gsc:7:15: error: 'nothing_like_it.efx' is no stock effect; no stock effect is near it\n";
  EXPECT_EQ(relative(fixed.out), remaining);
  EXPECT_EQ(fixed.status, 1);
  struct Mended {
    const char* file;
    std::vector<std::pair<std::string, std::string>> names;  // each name as it was and as mended
  };
  const Mended mended[] = {
      {"level.gsc", {{"grenadeexp_dirt.efx", "grenadeExp_dirt.efx"}, {"grenadeExp_drit.efx", "grenadeExp_dirt.efx"},
                     {"MYFIRE.efx", "myFire.efx"}}},
      {"assets.csv", {{"wine_bottle.EFX", "wine_bottle.efx"}, {"20mm_wallexplode.efx", "20 mm_wallexplode.efx"}}},
  };
  for (const Mended& m : mended) {
    std::string expected = ReadFile(CheckDir() + "/files/" + m.file);
    for (const auto& [was, now] : m.names) expected.replace(expected.find(was), was.size(), now);
    EXPECT_EQ(ReadFile(dir / "files" / m.file), expected) << m.file;  // CR LF and the byte-order mark kept
    EXPECT_EQ(ReadFile(dir / "files" / (std::string(m.file) + ".bak")), ReadFile(CheckDir() + "/files/" + m.file)) << m.file;
  }
  const Result again = Zorvin({"check", files, "--effects", effects, "--fix"});
  EXPECT_EQ(relative(again.out), remaining);
  EXPECT_EQ(again.err.find("wrote"), std::string::npos) << again.err;
  std::filesystem::remove_all(dir);
}

// Files read a megabyte at a time: a name across two chunks, after a line
// too long to hold, and "ef" and "x" in different chunks, found where they are.
TEST(CliCheck, NamesAcrossChunksAndInLongLinesStandWhereTheyAre) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zorvin-check-chunks";
  std::filesystem::create_directories(dir);
  constexpr std::size_t kMegabyte = std::size_t{1} << 20;
  struct Case {
    std::string bytes;
    std::string expected;  // the text line after the file's name
  };
  const std::string name = "fx/grenadeexp_dirt.efx";
  const Case cases[] = {
      {std::string(kMegabyte - 10, 'a') + " " + name + "\r\n", ":1:" + std::to_string(kMegabyte - 5)},
      {"x\n" + std::string(kMegabyte - 14, 'a') + " fx/grenadeexp_dirt.ef", ":2:" + std::to_string(kMegabyte - 14 + 5)},
      {std::string(9 * kMegabyte, 'b') + " \xC3\xA9 " + name, ":1:" + std::to_string(9 * kMegabyte + 7)},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::filesystem::path file = dir / ("case" + std::to_string(i) + ".txt");
    std::string bytes = cases[i].bytes;
    if (i == 1) bytes += "x\n";  // "ef" ends the first chunk, "x" starts the second
    WriteFile(file, bytes);
    const Result result = Zorvin({"check", Utf8(file)});
    EXPECT_EQ(result.out, Utf8(file) + cases[i].expected +
                              ": warning: 'grenadeexp_dirt.efx' is written 'grenadeExp_dirt.efx' in the stock effects\n")
        << i;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zorvin::cli
