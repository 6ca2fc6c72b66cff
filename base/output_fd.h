#pragma once

#include <string>
#include <string_view>

// The system's side of base/output_file.h, one version per system.

// A descriptor of the regular file at path, created or emptied; -1 with
// the reason otherwise. Anything but a regular file is refused, never
// waited on.
int OpenOutputFd(const std::string& path, std::string& reason);
// As write(2): the bytes written, or -1 with errno set.
long WriteOutputFd(int fd, std::string_view bytes);
// As close(2): 0, or -1 with errno set.
int CloseOutputFd(int fd);
