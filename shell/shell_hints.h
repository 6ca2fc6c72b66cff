#pragma once

#include <string_view>

#include "shell/overlay.h"

// The question that keeps a run from a stray Escape: QUIT? and how to answer.
// belowEntry: under the name entry's box, which shows what will be kept;
// pad: the pad was used last, so the answers name its buttons.
void DrawQuitQuestion(Overlay& overlay, bool belowEntry, bool pad);
// PAUSED and the keys that answer it, on the same band as the question, over
// the game's picture dimmed.
void DrawPaused(Overlay& overlay, std::string_view keys);
// The band PAUSED stands on in play, from edge to edge and taller than the
// game's banners, over the picture dimmed: nothing of GET READY sticks out
// round what is drawn on it.
void DrawPlayBand(Overlay& overlay);
// A practice run's game over: RETRY plays the same level again, or the
// title; answers names the keys (or the pad's buttons) that do which.
void DrawRetryQuestion(Overlay& overlay, std::string_view answers);
// Where the options are, while the title is up: F1, or the pad's Back.
void DrawTitleHint(Overlay& overlay, bool pad);
