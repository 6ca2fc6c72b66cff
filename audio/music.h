#pragma once

#include <string>

// Music: at most one tune open at a time, under the one alias. A tune loops
// because the end of each play is reported to the main loop, which plays it
// again from the start.
class MusicDevice {
 public:
  virtual ~MusicDevice() = default;
  virtual bool Open(const std::string& path) = 0;  // closes any open tune first
  virtual bool PlayFromStart() = 0;
  virtual bool Pause() = 0;   // keeps the position
  virtual bool Resume() = 0;  // continues from it
  virtual void Close() = 0;   // never reported as an end of play
};

// The device used by the music commands; null means silence.
void SetMusicDevice(MusicDevice* device);

// name is a MIDI file ("Music01.mid") beside the program or in its data
// folder (FindTune); its recording ("Music01.ogg") plays instead when it
// lies there. Each returns 1 when the last command succeeded; no caller acts
// on it.
int PlayMusic(const char* name);
int ReplayMusic();
int ResumeMusic();
int StopMusic();
int CloseMusic();
