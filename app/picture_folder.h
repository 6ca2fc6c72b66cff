#pragma once

#include <filesystem>

// Where a screenshot goes: the pictures folder of the desktop (the
// XDG_PICTURES_DIR variable, else its line in user-dirs.dirs under
// $XDG_CONFIG_HOME or ~/.config), else ~/Pictures, else the current folder.
// A named folder that does not exist is passed over.
std::filesystem::path PicturesFolder();
