// Error types of the program. Every failure is reported by throwing one of
// these; the command line prints the message, the windows show it in the
// standard error box. Messages are UTF-8.
#pragma once

#include <stdexcept>
#include <string>

namespace teluri {

class TeluriError : public std::runtime_error {
  public:
    explicit TeluriError(const std::string& message) : std::runtime_error(message) {}

    // The file whose content caused the error, when the message does not
    // name it: the page that stopped a run of many pages, the list file with
    // a bad line. Shown with the message so that the user can find it.
    const std::string& File() const { return file_; }
    void SetFile(std::string file) { file_ = std::move(file); }

  private:
    std::string file_;
};

// A text that should hold an integer does not.
class ConvertError : public TeluriError {
  public:
    using TeluriError::TeluriError;
};

// A file or folder exists but cannot be read, listed or written.
class IoError : public TeluriError {
  public:
    using TeluriError::TeluriError;
};

// Bytes that have no counterpart in the other character set.
class EncodingError : public TeluriError {
  public:
    using TeluriError::TeluriError;
};

// A position that a list does not have, such as the selection of a list
// with nothing selected (-1).
class ListIndexError : public TeluriError {
  public:
    explicit ListIndexError(int index);
};

}  // namespace teluri
