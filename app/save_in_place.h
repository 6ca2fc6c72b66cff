#pragma once

#include <string>
#include <string_view>

#include "app/player_file.h"

// For a file a new file cannot replace without losing something: one with
// several names (hard links), or with extended attributes (an ACL among
// them) that cannot be given to a new file.

// Gives fd the user and system attributes (ACLs are system ones) of the
// file at from; false when one of them cannot be carried. A file system
// without attributes has none to carry.
bool CarryAttributes(const std::string& from, int fd);

// Replaces the contents of the regular file target where it is, so that
// every name of it and everything about it stays. A copy of the old
// contents is written and synced beside it first ("<name>.old-<pid>") and
// removed once the new contents are synced; a failed write puts the old
// contents back, and if even that fails the copy stays and the reason names
// it.
FileOutcome SaveInPlace(const std::string& target, std::string_view bytes);

// A copy left by an in-place save that was killed goes back into target
// (whose contents may be cut short), then is removed. The next save does
// this before it reads the file.
void RestoreLeftCopies(const std::string& target);
