#pragma once

#include <filesystem>
#include <string>

// The General MIDI soundfont the music is played with: the user's choice when
// SDL_SOUNDFONTS is set (passed as userSetting), else the first one installed
// of the usual system places, smallest first so that start-up stays quick and
// light. Empty when there is none: the music is then silent.
// root lets tests stand in for the file system's root.
std::string FindSoundFont(const char* userSetting, const std::filesystem::path& root = "/");
