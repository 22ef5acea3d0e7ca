#include "map/map_source.h"

#include <array>
#include <bit>
#include <cstdio>
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#endif

namespace zorvin::map {
namespace {

// What each byte is to the reader. Tab, vertical tab, form feed and CR are
// blanks; every other control byte is binary, which no map source holds.
// Bytes from 0x80 are text: a map may hold Latin-1 or UTF-8 in its comments
// and values, and they are kept as they are.
enum Class : unsigned char { kText, kBlank, kNewline, kOpen, kClose, kQuote, kSlash, kBinary };

constexpr std::array<unsigned char, 256> kClasses = [] {
  std::array<unsigned char, 256> classes{};
  for (int b = 0; b < 0x20; ++b) classes[b] = kBinary;
  classes[0x7F] = kBinary;
  for (char c : {' ', '\t', '\v', '\f', '\r'}) classes[static_cast<unsigned char>(c)] = kBlank;
  classes['\n'] = kNewline;
  classes['{'] = kOpen;
  classes['}'] = kClose;
  classes['"'] = kQuote;
  classes['/'] = kSlash;
  return classes;
}();

// Braces nested deeper than this are no map a level editor writes.
constexpr std::uint64_t kDeepest = 64;

// A value in a message: printable ASCII as itself, anything else as '?', cut
// after 40 bytes.
std::string Quoted(std::string_view value) {
  std::string shown = "'";
  for (std::size_t i = 0; i < value.size() && i < 40; ++i) {
    const char c = value[i];
    shown += c >= 0x20 && c < 0x7F ? c : '?';
  }
  return shown + (value.size() > 40 ? "...'" : "'");
}

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

MapError::MapError(std::uint64_t line, std::uint64_t column, const std::string& what)
    : std::runtime_error(what), line_(line), column_(column) {}


void Reader::Fail(std::uint64_t line, std::uint64_t column, const std::string& what) const {
  throw MapError(line, column, what);
}

void Reader::FailHere(const std::string& what) const { Fail(line_, offset_ - lineBegin_ + 1, what); }

std::size_t Reader::SkipPlain(const unsigned char* data, std::size_t i, std::size_t size, std::uint64_t start) {
  const auto newLine = [&](std::size_t at) {
    ++line_;
    lineBegin_ = start + at + 1;
  };
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
  const __m128i controls = _mm_set1_epi8(0x1F), del = _mm_set1_epi8(0x7F), open = _mm_set1_epi8('{'),
                close = _mm_set1_epi8('}'), quote = _mm_set1_epi8('"'), slash = _mm_set1_epi8('/');
  while (i + 16 <= size) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    // A control byte (blanks and line feeds too: each is looked at below), DEL, a brace, a quote, a slash.
    __m128i special = _mm_cmpeq_epi8(_mm_min_epu8(bytes, controls), bytes);
    for (const __m128i c : {del, open, close, quote, slash}) special = _mm_or_si128(special, _mm_cmpeq_epi8(bytes, c));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(special));
    if (mask == 0) {
      i += 16;
      continue;
    }
    i += static_cast<std::size_t>(std::countr_zero(mask));
    const unsigned char k = kClasses[data[i]];
    if (k == kNewline) {
      newLine(i);
    } else if (k != kBlank) {
      return i;
    }
    ++i;
  }
#endif
  for (; i < size; ++i) {
    const unsigned char k = kClasses[data[i]];
    if (k == kNewline) {
      newLine(i);
    } else if (k != kText && k != kBlank) {
      break;
    }
  }
  return i;
}

void Reader::Text() {
  if (depth_ >= 2) return;  // a brush's or a patch's own words
  if (depth_ == 0) {
    if (entities_ == 0) return;  // the header
    FailHere("text outside an entity");
  }
  if (pair_ == Pair::Key) Fail(key_.line, key_.keyBegin - key_.lineBegin, "a key without a value");
  FailHere("text in an entity that is neither a key nor a brush");
}

void Reader::Open() {
  if (pair_ == Pair::Key) Fail(key_.line, key_.keyBegin - key_.lineBegin, "a key without a value");
  if (depth_ == 0) {
    ++entities_;
    brushSeen_ = false;
  } else if (depth_ == 1) {
    if (entities_ == 1 && !headDone_) {
      headDone_ = true;
      headEnd_ = offset_;
    }
    brushSeen_ = true;
  }
  if (depth_ == kDeepest) FailHere("braces nested deeper than " + std::to_string(kDeepest));
  opened_.emplace_back(line_, offset_ - lineBegin_ + 1);
  ++depth_;
}

void Reader::Close() {
  if (pair_ == Pair::Key) Fail(key_.line, key_.keyBegin - key_.lineBegin, "a key without a value");
  if (depth_ == 0) FailHere("a '}' that closes nothing");
  --depth_;
  opened_.pop_back();
  if (depth_ == 0 && entities_ == 1 && !headDone_) {
    headDone_ = true;
    headEnd_ = offset_;
  }
}

void Reader::QuoteStart() {
  if (depth_ == 0) FailHere("a quote outside an entity");
  if (depth_ == 1 && brushSeen_) FailHere("a key after the entity's first brush");
  quoteBegin_ = offset_;
  quoteLine_ = line_;
  quoteLineBegin_ = lineBegin_;
  mode_ = Mode::Quote;
}

void Reader::QuoteEnd() {
  mode_ = Mode::Normal;
  if (depth_ != 1) return;
  if (pair_ == Pair::None) {
    key_ = KeyLine{quoteBegin_ + 1, offset_, 0, 0, quoteLine_, quoteLineBegin_};
    pair_ = Pair::Key;
    return;
  }
  key_.valueBegin = quoteBegin_ + 1;
  key_.valueEnd = offset_;
  pair_ = Pair::None;
  if (entities_ == 1 && !headDone_) keys_.push_back(key_);
}

void Reader::LineEnd() {
  if (pair_ == Pair::Key) Fail(key_.line, key_.keyBegin - key_.lineBegin, "a key without a value");
  ++line_;
  lineBegin_ = offset_ + 1;
}

void Reader::Feed(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  const std::uint64_t start = offset_;
  for (std::size_t i = 0; i < size && !(headOnly_ && headDone_); ++i) {
    offset_ = start + i;
    unsigned char k = kClasses[data[i]];
    switch (mode_) {
      case Mode::Comment:
        // To the end of the line, checking only that it is text.
        while (k != kNewline && k != kBinary && ++i < size) k = kClasses[data[i]];
        offset_ = start + i;
        if (i == size) continue;
        if (k == kBinary) break;
        mode_ = Mode::Normal;
        LineEnd();
        continue;
      case Mode::Quote:
        while (k != kQuote && k != kNewline && k != kBinary && ++i < size) k = kClasses[data[i]];
        offset_ = start + i;
        if (i == size) continue;
        if (k == kQuote) {
          QuoteEnd();
          continue;
        }
        if (k == kNewline) Fail(quoteLine_, quoteBegin_ - quoteLineBegin_ + 1, "a quote that does not close");
        break;
      case Mode::Slash:
        mode_ = Mode::Normal;
        if (k == kSlash) {
          mode_ = Mode::Comment;
          continue;
        }
        --offset_;  // the slash, which stood just before, was text
        Text();
        ++offset_;
        break;
      case Mode::Normal:
        if (depth_ >= 2 && (k == kText || k == kBlank || k == kNewline)) {
          // Inside a brush or a patch: on to the next byte that matters.
          i = SkipPlain(data, i, size, start);
          offset_ = start + i;
          if (i == size) continue;
          k = kClasses[data[i]];
        }
        break;
    }
    switch (k) {
      case kText: Text(); break;
      case kBlank: break;
      case kNewline: LineEnd(); break;
      case kOpen: Open(); break;
      case kClose: Close(); break;
      case kQuote: QuoteStart(); break;
      case kSlash: mode_ = Mode::Slash; break;
      default: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(data[i]));
        FailHere(std::string("a binary byte (") + hex + "): this is not a map source");
      }
    }
  }
  offset_ = start + size;
}

void Reader::Finish() {
  if (mode_ == Mode::Quote) Fail(quoteLine_, quoteBegin_ - quoteLineBegin_ + 1, "a quote that does not close");
  if (mode_ == Mode::Slash) {
    mode_ = Mode::Normal;
    --offset_;
    Text();
    ++offset_;
  }
  if (pair_ == Pair::Key) Fail(key_.line, key_.keyBegin - key_.lineBegin, "a key without a value");
  if (depth_ > 0) Fail(opened_.back().first, opened_.back().second, "a '{' that is never closed");
  if (entities_ == 0) throw MapError(0, 0, "has no worldspawn: it holds no entity");
}

std::vector<KeyValue> WorldspawnKeyValues(const Reader& reader, std::string_view head) {
  std::vector<KeyValue> pairs;
  const KeyValue* classname = nullptr;
  for (const KeyLine& line : reader.WorldspawnKeys()) {
    pairs.push_back({std::string(head.substr(line.keyBegin, line.keyEnd - line.keyBegin)),
                     std::string(head.substr(line.valueBegin, line.valueEnd - line.valueBegin))});
  }
  for (const KeyValue& pair : pairs) {
    if (SameIgnoringCase(pair.key, "classname")) classname = &pair;
  }
  if (classname == nullptr) throw MapError(0, 0, "has no worldspawn: its first entity has no classname");
  if (!SameIgnoringCase(classname->value, "worldspawn")) {
    throw MapError(0, 0, "has no worldspawn: its first entity is a " + Quoted(classname->value));
  }
  return pairs;
}

}  // namespace zorvin::map
