#pragma once

#include "shell/overlay.h"

// The question that keeps a run from a stray Escape: QUIT? and how to answer.
void DrawQuitQuestion(Overlay& overlay);
// Where the options are, while the title is up.
void DrawTitleHint(Overlay& overlay);
