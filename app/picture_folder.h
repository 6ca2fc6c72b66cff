#pragma once

#include <filesystem>

// Where a screenshot goes: the pictures folder of the desktop (the
// XDG_PICTURES_DIR variable, else its line in user-dirs.dirs under
// $XDG_CONFIG_HOME or ~/.config), else ~/Pictures, made when the picture is
// saved if it is missing, as desktops do. A named folder that does not exist
// is passed over. Empty without a home folder.
std::filesystem::path PicturesFolder();
// Where kept runs are exported: XDG_DOCUMENTS_DIR, else ~/Documents; on
// Windows the Documents known folder.
std::filesystem::path DocumentsFolder();
