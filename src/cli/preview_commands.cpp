// zorvin preview and zorvin similar, over the core's preview (src/preview/):
// the picture in the terminal or as a PNG, and the stock levels ranked by
// how alike their light looks.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/text.h"
#include "file/user_file.h"
#include "png/png.h"
#include "preview/preview.h"

namespace zorvin::cli {
namespace {

constexpr int kPngSize = 256;
constexpr int kWidestInTerminal = 32;

// "suncolor '1.2' is not a colour: drawn white", after the level's or map's name.
std::string NoteOf(const std::string& name, const preview::Default& fault) {
  const std::string read = fault.HasValue() ? " " + Shown(fault.value) + " " + std::string(fault.fault) : " has no value";
  return Escaped(name, 200) + ": " + std::string(fault.key) + read + ": " + std::string(fault.drawn);
}

std::string Color(std::string_view layer, const std::array<std::uint8_t, 3>& c) {
  return "\x1b[" + std::string(layer) + ";2;" + std::to_string(c[0]) + ";" + std::to_string(c[1]) + ";" +
         std::to_string(c[2]) + "m";
}

// Two rows of pixels a line: the upper half block in the upper pixel's
// colour on the lower's; a colour is said again only where it changes.
Lines HalfBlocks(const preview::Image& image) {
  Lines lines;
  for (int row = 0; row < image.size; row += 2) {
    std::string line;
    std::optional<std::array<std::uint8_t, 3>> fore, back;
    for (int column = 0; column < image.size; ++column) {
      const auto upper = image.Pixel(column, row);
      if (upper != fore) line += Color("38", *(fore = upper));
      if (row + 1 < image.size) {
        const auto lower = image.Pixel(column, row + 1);
        if (lower != back) line += Color("48", *(back = lower));
      }
      line += "\xE2\x96\x80";  // ▀
    }
    lines.push_back(line + "\x1b[0m");
  }
  return lines;
}

std::variant<std::pair<light::Worldspawn, preview::Reading>, Failure> ReadPreview(std::string_view operand, std::span<const std::string> set) {
  auto read = ReadTunedWorldspawn(operand, set);
  if (Failure* failure = std::get_if<Failure>(&read)) return std::move(*failure);
  light::Worldspawn& worldspawn = std::get<light::Worldspawn>(read);
  preview::Reading reading = preview::ReadPreviewLight(worldspawn);
  return std::pair{std::move(worldspawn), std::move(reading)};
}

}  // namespace

Outcome Preview(const PreviewRequest& request) {
  auto read = ReadPreview(request.operand, request.set);
  if (const Failure* failure = std::get_if<Failure>(&read)) return *failure;
  const auto& [worldspawn, reading] = std::get<0>(read);
  Written written;
  for (const preview::Default& fault : reading.defaults) written.notes.push_back(NoteOf(worldspawn.name, fault));
  if (request.output) {
    const preview::Image image = preview::Render(reading.light, request.size.value_or(kPngSize));
    std::string bytes = png::Encode(image.rgb, image.size, image.size);
    if (*request.output == "-") {
      written.bytes = std::move(bytes);
      return written;
    }
    try {
      file::WriteNew(*request.output, bytes);
    } catch (const file::FileError& error) {
      return Failure{kCannotWrite, Escaped(*request.output, 200) + " " + error.what()};
    }
    return written;
  }
  if (!request.colored) {
    return Failure{kBadUsage, "a preview is a picture: give --output FILE.png (or -), or --color always to draw it here"};
  }
  const int fits = request.columns > 0 ? std::min(request.columns, kWidestInTerminal) : kWidestInTerminal;
  written.lines = HalfBlocks(preview::Render(reading.light, request.size.value_or(std::max(2, fits - fits % 2))));
  return written;
}

Outcome Similar(std::string_view operand, std::span<const std::string> set, int top, Format format) {
  auto read = ReadPreview(operand, set);
  if (const Failure* failure = std::get_if<Failure>(&read)) return *failure;
  const auto& [worldspawn, reading] = std::get<0>(read);
  const auto catalog = LevelCatalog();
  // A level as it stands is left out of its own list; tuned, it is one more light.
  const LevelEntry* level = worldspawn.layout != nullptr && set.empty() ? FindLevel(worldspawn.name) : nullptr;
  std::vector<preview::Alike> alike =
      level != nullptr ? preview::MostAlikeStock(static_cast<std::size_t>(level - catalog.data()))
                       : preview::MostAlike(preview::Render(reading.light, preview::kCompareSize), static_cast<std::size_t>(top));
  alike.resize(std::min(alike.size(), static_cast<std::size_t>(top)));
  const auto difference = [](double d) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", d);
    return std::string(text);
  };
  if (format == Format::Json) {
    nlohmann::ordered_json json;
    json["of"] = worldspawn.name;
    nlohmann::ordered_json& levels = json["levels"] = nlohmann::ordered_json::array();
    for (const preview::Alike& a : alike) {
      levels.push_back({{"level", catalog[a.level].Key()}, {"difference", a.difference}});
    }
    return JsonLines(json);
  }
  std::size_t widest = 0;
  for (const preview::Alike& a : alike) widest = std::max(widest, catalog[a.level].Key().size());
  Lines lines;
  for (const preview::Alike& a : alike) {
    const std::string_view name = catalog[a.level].Key();
    lines.push_back(std::string(name) + std::string(widest - name.size() + 2, ' ') + difference(a.difference));
  }
  return lines;
}

}  // namespace zorvin::cli
