#pragma once

class Host;
class Sequencer;

// What Shutdown releases; set once the objects exist.
void SetShutdownTargets(Host* host, Sequencer* sequencer);

// The one way out of the program: stops the frames, closes the music,
// deletes the scenes, the sound bank, input and display in that order, shows
// the message (if any) and asks the main loop to end. Safe to call twice.
void Shutdown(const char* message);

bool IsQuitRequested();
// The program's exit code: 0 unless something set another before the end.
int QuitCode();
void SetQuitCode(int code);
// Forgets an earlier quit request (a new run in the same process, in tests).
void ResetShutdown();
