// Sequential text input and the free-format record reader.
#include "io/text_input.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <type_traits>

namespace kova::io {

namespace {

// A CR left at a line end separates like a blank: it is never part of a value.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool endsUndelimited(char c) { return isBlank(c) || c == ',' || c == '/'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

void splitLines(const std::string& text, std::vector<std::string>& lines) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::size_t stop = end;
    // Files written on Windows end their lines with CR LF: the CR is never data.
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.emplace_back(text, start, stop - start);
    start = end + 1;
  }
}

// Rewrites a free-format number into the form strtod accepts, or returns false.
// Accepted: [sign] digits [. digits] [exponent], at least one digit in the mantissa;
// exponent: E or D (either case) with optional sign, or a bare sign, then digits.
bool normalizeNumber(std::string_view token, std::string& out) {
  out.clear();
  std::size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) out += token[i++];
  int mantissaDigits = 0;
  while (i < token.size() && isDigit(token[i])) { out += token[i++]; ++mantissaDigits; }
  if (i < token.size() && token[i] == '.') {
    out += token[i++];
    while (i < token.size() && isDigit(token[i])) { out += token[i++]; ++mantissaDigits; }
  }
  if (mantissaDigits == 0) return false;
  if (i == token.size()) return true;
  char c = token[i];
  if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
    ++i;
  } else if (c != '+' && c != '-') {
    return false;
  }
  out += 'E';
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) out += token[i++];
  int exponentDigits = 0;
  while (i < token.size() && isDigit(token[i])) { out += token[i++]; ++exponentDigits; }
  return exponentDigits > 0 && i == token.size();
}

}  // namespace

bool openInput(InputFile& file, const std::string& path) {
  file = InputFile{};
  file.path = path;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  splitLines(text, file.lines);
  file.isOpen = true;
  return true;
}

InputFile textSource(std::string_view text) {
  InputFile file;
  file.lines.emplace_back(text);
  if (!file.lines.back().empty() && file.lines.back().back() == '\r') file.lines.back().pop_back();
  file.isOpen = true;
  return file;
}

void closeInput(InputFile& file) {
  file.lines.clear();
  file.next = 0;
  file.isOpen = false;
}

bool atEnd(const InputFile& file) { return file.next >= file.lines.size(); }

bool readLine(InputFile& file, std::string& line) {
  if (atEnd(file)) return false;
  line = file.lines[file.next++];
  return true;
}

void backspace(InputFile& file) {
  if (file.next > 0) --file.next;
}

void rewind(InputFile& file) { file.next = 0; }

void skipComments(InputFile& file, char mark) {
  while (!atEnd(file) && !file.lines[file.next].empty() && file.lines[file.next][0] == mark) ++file.next;
}

bool parseReal(std::string_view token, double& value) {
  std::string normal;
  if (!normalizeNumber(token, normal)) return false;
  value = std::strtod(normal.c_str(), nullptr);
  return !std::isinf(value);
}

bool parseInteger(std::string_view token, long long& value) {
  std::size_t i = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
  if (i == token.size()) return false;
  for (std::size_t k = i; k < token.size(); ++k)
    if (!isDigit(token[k])) return false;
  errno = 0;
  value = std::strtoll(std::string(token).c_str(), nullptr, 10);
  return errno != ERANGE;
}

ListRecord::ListRecord(InputFile& file) : file_(file) {}

ListRecord::~ListRecord() { finish(); }

void ListRecord::finish() { finished_ = true; }

bool ListRecord::loadLine() {
  if (atEnd(file_)) return false;
  line_ = &file_.lines[file_.next++];
  pos_ = 0;
  return true;
}

ListRecord::Item ListRecord::nextItem(std::string& token, bool asText) {
  if (repeatLeft_ > 0) {
    --repeatLeft_;
    token = repeatToken_;
    return repeatNull_ ? Item::null : Item::value;
  }
  if (slashSeen_ || finished_) return Item::ended;
  for (;;) {
    if (line_ == nullptr && !loadLine()) return Item::endOfFile;
    const std::string& s = *line_;
    while (pos_ < s.size() && isBlank(s[pos_])) ++pos_;
    if (pos_ >= s.size()) {
      // The end of a line separates like a blank; the record goes on.
      if (!loadLine()) return Item::endOfFile;
      continue;
    }
    char c = s[pos_];
    if (c == ',') {
      ++pos_;
      if (afterValue_) {
        afterValue_ = false;
        continue;
      }
      return Item::null;
    }
    if (c == '/') {
      slashSeen_ = true;
      return Item::ended;
    }
    token.clear();
    if (asText && (c == '\'' || c == '"')) {
      ++pos_;
      while (pos_ < s.size()) {
        if (s[pos_] == c) {
          if (pos_ + 1 < s.size() && s[pos_ + 1] == c) {
            token += c;
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        token += s[pos_++];
      }
    } else {
      while (pos_ < s.size() && !endsUndelimited(s[pos_])) token += s[pos_++];
    }
    afterValue_ = true;
    // r*v repeats v r times; r* alone gives r empty items.
    std::size_t star = token.find('*');
    if (star != std::string::npos && star > 0) {
      long long count = 0;
      if (parseInteger(std::string_view(token).substr(0, star), count) && count > 0 && count <= INT_MAX &&
          std::isdigit(static_cast<unsigned char>(token[0]))) {
        repeatToken_ = token.substr(star + 1);
        repeatNull_ = repeatToken_.empty();
        repeatLeft_ = static_cast<int>(count - 1);
        token = repeatToken_;
        return repeatNull_ ? Item::null : Item::value;
      }
    }
    return Item::value;
  }
}

template <typename T>
ReadStatus ListRecord::number(T& value, bool integerOnly) {
  std::string token;
  switch (nextItem(token, false)) {
    case Item::endOfFile: return ReadStatus::endOfFile;
    case Item::null:
    case Item::ended: return ReadStatus::ok;
    case Item::value: break;
  }
  if (integerOnly) {
    long long v = 0;
    if (!parseInteger(token, v) || v < INT_MIN || v > INT_MAX) return ReadStatus::badValue;
    value = static_cast<T>(v);
    return ReadStatus::ok;
  }
  std::string normal;
  if (!normalizeNumber(token, normal)) return ReadStatus::badValue;
  if constexpr (std::is_same_v<T, float>) {
    // Straight from the decimal text to single precision: no double rounding.
    value = std::strtof(normal.c_str(), nullptr);
  } else {
    value = std::strtod(normal.c_str(), nullptr);
  }
  // An overflow is no number at all; an underflow is as good as zero.
  if (std::isinf(value)) return ReadStatus::badValue;
  return ReadStatus::ok;
}

ReadStatus ListRecord::real(float& value) { return number(value, false); }
ReadStatus ListRecord::real(double& value) { return number(value, false); }
ReadStatus ListRecord::integer(int& value) { return number(value, true); }

ReadStatus ListRecord::text(std::string& value) {
  std::string token;
  switch (nextItem(token, true)) {
    case Item::endOfFile: return ReadStatus::endOfFile;
    case Item::null:
    case Item::ended: return ReadStatus::ok;
    case Item::value: break;
  }
  value = token;
  return ReadStatus::ok;
}

ReadStatus readReals(InputFile& file, std::span<float> values) {
  ListRecord record(file);
  for (float& v : values) {
    ReadStatus status = record.real(v);
    if (status != ReadStatus::ok) return status;
  }
  return ReadStatus::ok;
}

}  // namespace kova::io
