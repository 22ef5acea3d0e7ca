// zorvin check: every effect name in a designer's files held to the stock
// effects (and the designer's own, --effects), each problem said as
// compilers say theirs, or as JSON, a SARIF log for code scanning, or a
// GitHub workflow's annotations.
#include <nlohmann/json.hpp>

#include <unordered_map>

#include "cli/check_fix.h"
#include "cli/check_scan.h"
#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/text.h"

namespace zorvin::cli {
namespace {

using references::Verdict;

std::string Plural(std::size_t count, std::string_view one) {
  return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

// "'a', 'b' or 'c'"
std::string Alternatives(const std::vector<std::string>& names) {
  std::string said;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) said += i + 1 == names.size() ? " or " : ", ";
    said += Shown(names[i]);
  }
  return said;
}

std::string Message(const Problem& problem) {
  const Verdict& verdict = *problem.verdict;
  if (verdict.kind == Verdict::Kind::wrongCase) {
    return Shown(*problem.name) + " is written " + Shown(verdict.suggestions.front()) +
           (verdict.stock ? " in the stock effects" : " in your effects");
  }
  return Shown(*problem.name) + " is no stock effect; " +
         (verdict.suggestions.empty() ? "no stock effect is near it" : "did you mean " + Alternatives(verdict.suggestions) + "?");
}

// Each name's message and each file's shown name, made once: a tree of
// scripts repeats the same few.
class Said {
 public:
  const std::string& Of(const Problem& p) { return Once(messages_, p.name, [&] { return Message(p); }); }
  const std::string& File(const Problem& p) { return Once(files_, p.file, [&] { return Escaped(*p.file, 1000); }); }

 private:
  template <typename Make>
  static const std::string& Once(std::unordered_map<const std::string*, std::string>& made, const std::string* key, Make make) {
    auto found = made.find(key);
    if (found == made.end()) found = made.emplace(key, make()).first;
    return found->second;
  }
  std::unordered_map<const std::string*, std::string> messages_, files_;
};

bool IsError(const Problem& problem) { return problem.verdict->kind == Verdict::Kind::unknown; }
std::string_view Kind(const Problem& problem) { return IsError(problem) ? "unknown" : "case"; }

Lines Text(const std::vector<Problem>& problems) {
  Lines lines;
  Said said;
  for (const Problem& p : problems) {
    lines.push_back(said.File(p) + ":" + std::to_string(p.line) + ":" + std::to_string(p.column) + ": " +
                    (IsError(p) ? "error: " : "warning: ") + said.Of(p));
  }
  return lines;
}

Lines Json(const Scan& scan, const std::vector<Problem>& problems) {
  nlohmann::ordered_json json;
  json["files"] = scan.files;
  json["references"] = scan.references;
  nlohmann::ordered_json& listed = json["problems"] = nlohmann::ordered_json::array();
  for (const Problem& p : problems) {
    listed.push_back({{"file", *p.file}, {"line", p.line}, {"column", p.column}, {"endColumn", p.endColumn},
                        {"name", *p.name}, {"kind", Kind(p)}, {"suggestions", p.verdict->suggestions}});
  }
  return JsonLines(json);
}

// A workflow command's value: %, CR and LF escaped; a property's also : and ,.
std::string Escape(std::string_view text, bool property) {
  std::string escaped;
  for (const char c : text) {
    if (c == '%') escaped += "%25";
    else if (c == '\r') escaped += "%0D";
    else if (c == '\n') escaped += "%0A";
    else if (property && c == ':') escaped += "%3A";
    else if (property && c == ',') escaped += "%2C";
    else escaped += c;
  }
  return escaped;
}

Lines GitHub(const std::vector<Problem>& problems) {
  Lines lines;
  for (const Problem& p : problems) {
    lines.push_back(std::string(IsError(p) ? "::error" : "::warning") + " file=" + Escape(*p.file, true) +
                    ",line=" + std::to_string(p.line) + ",col=" + std::to_string(p.column) + "::" +
                    Escape(Message(p), false));
  }
  return lines;
}

Lines Sarif(const std::vector<Problem>& problems) {
  using Json = nlohmann::ordered_json;
  const auto rule = [](std::string_view id, std::string_view text, std::string_view level) {
    return Json{{"id", id}, {"shortDescription", {{"text", text}}}, {"defaultConfiguration", {{"level", level}}}};
  };
  Json results = Json::array();
  for (const Problem& p : problems) {
    const Json region = {{"startLine", p.line}, {"startColumn", p.column}, {"endColumn", p.endColumn}};
    const Json location = {{"physicalLocation", {{"artifactLocation", {{"uri", *p.file}}}, {"region", region}}}};
    Json result = {{"ruleId", IsError(p) ? "unknown-effect" : "effect-case"},
                   {"level", IsError(p) ? "error" : "warning"},
                   {"message", {{"text", Message(p)}}},
                   {"locations", Json::array({location})}};
    if (p.verdict->mendable) {
      const Json replacement = {{"deletedRegion", region}, {"insertedContent", {{"text", p.verdict->suggestions.front()}}}};
      result["fixes"] = Json::array({{{"description", {{"text", "Write " + Shown(p.verdict->suggestions.front())}}},
                                      {"artifactChanges", Json::array({{{"artifactLocation", {{"uri", *p.file}}},
                                                                        {"replacements", Json::array({replacement})}}})}}});
    }
    results.push_back(std::move(result));
  }
  const Json driver = {{"name", "zorvin"},
                       {"version", ZORVIN_VERSION_TEXT},
                 {"rules", Json::array({rule("unknown-effect", "An effect name that is no known effect", "error"),
                                        rule("effect-case", "An effect name written in another case", "warning")})}};
  Json log = {{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
              {"version", "2.1.0"},
              {"runs", Json::array({{{"tool", {{"driver", driver}}}, {"columnKind", "unicodeCodePoints"}, {"results", results}}})}};
  return JsonLines(log);
}

}  // namespace

Outcome Check(const CheckRequest& request) {
  auto own = OwnEffects(request.effects);
  if (Failure* failure = std::get_if<Failure>(&own)) return std::move(*failure);
  const references::EffectNames names(std::move(std::get<std::vector<std::string>>(own)));
  auto scanned = ScanPaths(request.paths, names);
  if (Failure* failure = std::get_if<Failure>(&scanned)) return std::move(*failure);
  const Scan& scan = std::get<Scan>(scanned);

  Written written;
  written.notes = scan.unreadable;
  if (scan.skipped > 0) written.notes.push_back("skipped " + Plural(scan.skipped, "file") + ": hidden, backups or not text");
  // With --fix, what was mended is no longer reported.
  std::vector<Problem> reported = scan.problems;
  bool failed = !scan.unreadable.empty();
  if (request.fix) {
    Mending mending = Mend(scan, request.dryRun, request.backup);
    for (std::string& line : mending.said) written.notes.push_back(std::move(line));
    for (std::string& line : mending.failed) written.notes.push_back(std::move(line));
    failed = failed || !mending.failed.empty();
    if (request.dryRun) {
      written.lines = std::move(mending.diff);
    } else {
      reported.clear();
      for (std::size_t i = 0; i < scan.problems.size(); ++i) {
        if (!mending.mended[i]) reported.push_back(scan.problems[i]);
      }
    }
  }
  if (!(request.fix && request.dryRun)) {
    written.lines = request.format == "json" ? Json(scan, reported) : request.format == "sarif" ? Sarif(reported)
                  : request.format == "github" ? GitHub(reported) : Text(reported);
  }
  std::size_t errors = 0, withProblems = 0;
  for (std::size_t i = 0; i < reported.size(); ++i) {
    errors += IsError(reported[i]);
    withProblems += i == 0 || reported[i].file != reported[i - 1].file;
  }
  written.summary.push_back(Plural(errors, "error") + " and " + Plural(reported.size() - errors, "warning") + " in " +
                            std::to_string(withProblems) + " of " + Plural(scan.files, "file") + " (" +
                            Plural(scan.references, "reference") + ")");
  written.status = failed ? kBadMap : reported.empty() ? kFound : kNotFound;
  return written;
}

}  // namespace zorvin::cli
