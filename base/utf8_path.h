#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The program holds every path as UTF-8 text. std::filesystem::path made
// from a plain string reads it in the system's code page on Windows, so an
// accented or non-Latin user folder would come out wrong there: paths go
// between text and std::filesystem through these, which say UTF-8 (on
// Linux the bytes pass unchanged, whatever they are). A path so made opens
// through the wide functions on Windows (std::ifstream, std::filesystem).
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8Of(const std::filesystem::path& path);
