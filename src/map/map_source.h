// A map source read as it streams past: its entities in braces, each a list
// of "key" "value" lines followed by its brushes and patches in nested braces,
// // comments to the end of a line, an optional header before the first
// entity. The first entity is the worldspawn. Nothing here holds the file:
// the reader notes where the worldspawn's keys are, and checks the rest.
// Standard C++ only.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zorvin::map {

// What makes a file no map source, and where (line and column from 1, the
// column in bytes; 0 where the fault has no place). Placed, it reads after
// the file's name and its place ("a quote that does not close"); unplaced,
// after the name alone ("has no worldspawn: ...").
class MapError : public std::runtime_error {
 public:
  MapError(std::uint64_t line, std::uint64_t column, const std::string& what);
  std::uint64_t Line() const { return line_; }
  std::uint64_t Column() const { return column_; }

 private:
  std::uint64_t line_, column_;
};

// A "key" "value" pair of the worldspawn, as offsets into the file: each
// range is what stands between the quotes.
struct KeyLine {
  std::uint64_t keyBegin, keyEnd;
  std::uint64_t valueBegin, valueEnd;
  std::uint64_t line;       // the key's line
  std::uint64_t lineBegin;  // where that line starts
};

class Reader {
 public:
  // headOnly: reads no further than the worldspawn's first brush (or its
  // end), as light and compare do; else the whole file, as apply does.
  explicit Reader(bool headOnly = false) : headOnly_(headOnly) {}

  // The next bytes of the file; throws MapError at the first fault. Read
  // headOnly, the bytes past the worldspawn's keys are not looked at.
  void Feed(std::string_view bytes);
  // The end of the file: throws MapError if it ends inside something, or
  // holds no entity.
  void Finish();

  // Whether the worldspawn's keys have all gone past: its first brush or its
  // end has been reached.
  bool HeadDone() const { return headDone_; }
  // Where its first brush (its '{') or its closing '}' stands.
  std::uint64_t HeadEnd() const { return headEnd_; }
  const std::vector<KeyLine>& WorldspawnKeys() const { return keys_; }
  // The line being read, from 1.
  std::uint64_t Line() const { return line_; }

 private:
  enum class Mode : unsigned char { Normal, Slash, Comment, Quote };
  enum class Pair : unsigned char { None, Key };

  [[noreturn]] void Fail(std::uint64_t line, std::uint64_t column, const std::string& what) const;
  [[noreturn]] void FailHere(const std::string& what) const;
  void Text();  // at a byte that is no brace, quote or blank, outside comments and quotes
  // Inside a brush or a patch: past its words, blanks and line ends (counted)
  // to the next byte that matters, or size. data[0] is at offset start.
  std::size_t SkipPlain(const unsigned char* data, std::size_t i, std::size_t size, std::uint64_t start);
  void Open();
  void Close();
  void QuoteStart();
  void QuoteEnd();
  void LineEnd();

  bool headOnly_;
  std::uint64_t offset_ = 0;     // of the byte being read
  std::uint64_t line_ = 1;
  std::uint64_t lineBegin_ = 0;  // where the current line starts
  Mode mode_ = Mode::Normal;
  std::uint64_t depth_ = 0;
  std::uint64_t entities_ = 0;   // entities opened so far
  bool brushSeen_ = false;       // in the current entity
  bool headDone_ = false;
  std::uint64_t headEnd_ = 0;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> opened_;  // line and column of each open '{'
  // The quote being read, and the key waiting for its value.
  std::uint64_t quoteBegin_ = 0, quoteLine_ = 0, quoteLineBegin_ = 0;
  Pair pair_ = Pair::None;
  KeyLine key_{};
  std::vector<KeyLine> keys_;
};

// Whether two keys are the same, ASCII letters' case ignored, as the map
// compilers compare them.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// What a worldspawn key line is worth to the faces: its key and value as bytes.
struct KeyValue {
  std::string key;
  std::string value;
};

// The worldspawn's key lines, given the head of the file in which they stand
// (at least up to the reader's HeadEnd); throws MapError when the first
// entity's classname is not "worldspawn".
std::vector<KeyValue> WorldspawnKeyValues(const Reader& reader, std::string_view head);

}  // namespace zorvin::map
