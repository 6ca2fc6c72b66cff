#pragma once

#include <string>

// The program's string of 8-bit characters: a plain value with deep copies.
// Characters are bytes; no character set conversion is done anywhere.
class NString {
 public:
  NString() = default;
  NString(const char* text);  // NOLINT: implicit, like the literals it wraps
  explicit NString(std::string text) : text_(std::move(text)) {}
  virtual ~NString() = default;
  NString(const NString&) = default;
  NString& operator=(const NString&) = default;

  void Assign(const NString& other) { text_ = other.text_; }

  int GetLength() const { return static_cast<int>(text_.size()); }
  const char* GetBuffer() const { return text_.c_str(); }
  const std::string& Str() const { return text_; }

  // 1 when both hold the same bytes in the same order, else 0.
  int Equals(const NString& other) const { return text_ == other.text_ ? 1 : 0; }
  // Index of the first ch at or after start, or -1 (also when start is not
  // below the length).
  int Find(char ch, int start) const;
  // Characters first..last, both included (last is an index, not a count),
  // cut at the end; empty when first is not below the length or last < first.
  NString Mid(int first, int last) const;

  void Append(const NString& other) { text_ += other.text_; }
  void AppendChar(char ch) { text_ += ch; }
  void Replace(char from, char to);
  // Removes runs of ch: mode 0 from the left, 1 from the right, 2 both ends.
  void Trim(int mode, char ch);

  // The executable's directory, ending in '/'; "/" when it cannot be found.
  static NString GetProgramDirectory();
  // A double-quoted path of a file beside the program.
  static NString QuotedPathBesideProgram(const NString& name);

 private:
  std::string text_;
};
