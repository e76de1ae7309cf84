// Test helpers: a temporary folder removed with its content, file access in
// bytes, and a way to run code without root's right to read every file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace teluri::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending with "/".
    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + std::string(name); }

  private:
    std::string path_;
};

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);

// Runs `body` in a child process as an unprivileged user when the tests run
// as root, so that file permissions count; returns true when `body` returned
// true. Without root it runs `body` in the child as the current user.
bool RunWithoutPrivileges(const std::function<bool()>& body);

}  // namespace teluri::test
