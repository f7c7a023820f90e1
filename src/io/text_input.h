// Sequential text input: files read line by line with a cursor that can step back
// or rewind, and the free-format (list-directed) record reader used by every input file.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kova::io {

// A text file opened for sequential reading. Input files are small, so the lines are
// held in memory; a line keeps neither its LF nor a CR before it.
struct InputFile {
  std::string path;
  std::vector<std::string> lines;
  std::size_t next = 0;  // index of the next line to be read
  bool isOpen = false;
};

// Opens an existing file for reading; false when it is missing or unreadable.
bool openInput(InputFile& file, const std::string& path);
// A one-line source over text, for reading values out of a line already read.
InputFile textSource(std::string_view text);
void closeInput(InputFile& file);

bool atEnd(const InputFile& file);
// The next line as text; false at end of file.
bool readLine(InputFile& file, std::string& line);
// Steps back one record (line); no effect at the start of the file.
void backspace(InputFile& file);
void rewind(InputFile& file);
// Skips the lines that carry the comment mark in column 1.
void skipComments(InputFile& file, char mark = 'C');

enum class ReadStatus { ok, endOfFile, badValue };

// One free-format record: values separated by blanks, tabs or commas, continuing
// over as many lines as its items need. "r*v" repeats a value r times, an empty
// item between two commas leaves its target unchanged, and a "/" ends the record
// leaving the remaining targets unchanged. Text items may be quoted with ' or ";
// otherwise they end at a blank, comma or slash. finish() (also run by the
// destructor) skips the rest of the record's last line.
class ListRecord {
 public:
  explicit ListRecord(InputFile& file);
  ~ListRecord();
  ListRecord(const ListRecord&) = delete;
  ListRecord& operator=(const ListRecord&) = delete;

  ReadStatus real(float& value);
  ReadStatus real(double& value);
  ReadStatus integer(int& value);
  ReadStatus text(std::string& value);
  // Skips the rest of the current line; the next record starts on the next line.
  void finish();

 private:
  enum class Item { value, null, ended, endOfFile };
  Item nextItem(std::string& token, bool asText);
  bool loadLine();
  template <typename T>
  ReadStatus number(T& value, bool integerOnly);

  InputFile& file_;
  const std::string* line_ = nullptr;  // current line, null before the first item
  std::size_t pos_ = 0;
  bool slashSeen_ = false;
  bool finished_ = false;
  bool afterValue_ = false;   // a value was taken since the last separator comma
  int repeatLeft_ = 0;        // items still due from an r*v repeat
  bool repeatNull_ = false;
  std::string repeatToken_;
};

// Reads values.size() reals as one free-format record.
ReadStatus readReals(InputFile& file, std::span<float> values);

// Parses a whole token as a number in free-format rules (digits, optional point,
// optional exponent with E, D or a bare sign); false for anything else.
bool parseReal(std::string_view token, double& value);
bool parseInteger(std::string_view token, long long& value);

}  // namespace kova::io
