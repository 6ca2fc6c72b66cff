#pragma once

class Surface;

// The wipe that opens and closes every scene and level: black bands that
// close in from the top and bottom edges over kCurtainFrames frames, or draw
// back over as many. framesLeft counts down from kCurtainFrames to 0.
constexpr int kCurtainFrames = 25;

void DrawOpeningCurtain(Surface* surface, int framesLeft);
void DrawClosingCurtain(Surface* surface, int framesLeft);
