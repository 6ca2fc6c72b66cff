#pragma once

#include <string>

// The --sound-log file: one line per effect played ("FRAME play SLOT") and per
// music command ("FRAME music COMMAND NAME"), stamped with the run's frame
// number. It records what the game asks for, whether or not a device sounds
// it, so muted and headless runs log the same lines as live ones.
// Open and Close tell a failure on standard error; Close returns false when
// the log could not be written whole.
bool OpenSoundLog(const std::string& path);
bool CloseSoundLog();
void LogEffect(int slot);
// command is open, play, replay, stop, resume or close; name the tune's file,
// or "-" when no tune is open.
void LogMusicCommand(const char* command, const std::string& name);
