#pragma once
// CStringList: an ordered list of UTF-16 lines or items, read from and written to
// files, also used as a key-value list of "key=value" lines. Paths are engine paths.
#include <string>
#include <string_view>
#include <vector>

class CStringList {
 public:
  CStringList() = default;
  virtual ~CStringList() = default;

  // Files. Each returns false when the file cannot be opened (read) or written.

  // Replaces the list by the file's UTF-8 lines (a byte-order mark is skipped), each
  // with its "\n" line end kept; "\r\n" reads as "\n". Invalid UTF-8 reads as U+FFFD.
  bool ReadTextLines(std::u16string_view path);
  // ReadTextLines on bytes already in memory.
  void ParseTextLines(std::string_view bytes);
  // Writes a byte-order mark and every line followed by "\n", replacing the file
  // atomically.
  bool WriteTextLines(std::u16string_view path) const;
  // Replaces the list by the file's lines, each without its line end and normalised as
  // a script line; lines that normalise to nothing are left out.
  bool ReadNormalizedLines(std::u16string_view path);
  // Replaces the list by the items of a scrambled list file. A file that is not a
  // complete scrambled text reads as false and leaves the list empty.
  bool ReadScrambledList(std::u16string_view path);
  // Writes the joined items as a scrambled list file, replacing it atomically.
  bool WriteScrambledList(std::u16string_view path) const;
  // ReadScrambledList on bytes already in memory.
  bool ParseScrambledList(std::string_view bytes);

  // Items.

  // Replaces the list by the parts of text that end in ",": text after the last ","
  // is not an item.
  void Split(std::u16string_view text);
  // Every non-empty item followed by ",".
  std::u16string Join() const;
  // Position of the first item equal to text (exact), or -1.
  int IndexOf(std::u16string_view text) const;
  void Push(std::u16string text) { m_lines.push_back(std::move(text)); }
  int Count() const { return static_cast<int>(m_lines.size()); }
  // Item i for 0 <= i < Count(); anything else throws std::out_of_range.
  const std::u16string& At(int index) const { return m_lines.at(static_cast<size_t>(index)); }
  std::u16string& At(int index) { return m_lines.at(static_cast<size_t>(index)); }
  const std::vector<std::u16string>& Lines() const { return m_lines; }
  void Clear() { m_lines.clear(); }

  // Key-value lines. Out-of-range indexes give the empty text.

  // The text of line i before its first "=", empty when it has none.
  std::u16string KeyAt(int index) const;
  // The text of line i after its first "=", empty when it has none.
  std::u16string ValueAt(int index) const;
  // The first line whose key equals key exactly, or -1.
  int FindKey(std::u16string_view key) const;
  // The value of the line FindKey finds, or the empty text.
  std::u16string ValueOf(std::u16string_view key) const;
  // Replaces the key's line by key=value, or appends that line when the key is absent.
  void Set(std::u16string_view key, std::u16string_view value);
  void SetNumber(std::u16string_view key, int number);
  // Line i before the first separator (the whole line without one) / after it (empty
  // without one).
  std::u16string BeforeSeparator(int index, std::u16string_view separator) const;
  std::u16string AfterSeparator(int index, std::u16string_view separator) const;

 private:
  const std::u16string* LineAt(int index) const;

  std::vector<std::u16string> m_lines;
};
