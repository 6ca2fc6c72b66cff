#pragma once

#include <filesystem>
#include <string_view>

#include "app/player_file.h"

// A file with several names (hard links) on Windows: a new file put in its
// place would be a name of its own, the other names keeping the old
// contents, so its contents are replaced where it is instead.

// How many names the file has; 1 when that cannot be told.
unsigned LinksOf(const std::filesystem::path& file);

// Writes bytes over the file's contents. A copy of the old contents is
// written through beside it first ("<name>.old-<pid>") and removed once the
// new contents are on disk; a failed write puts the old contents back, and
// if even that fails the copy stays and the reason names it.
FileOutcome SaveInPlace(const std::filesystem::path& target, std::string_view bytes);

// A copy left by an in-place save that was killed goes back into target,
// then is removed. The next save does this before it reads the file.
void RestoreLeftCopies(const std::filesystem::path& target);
