#pragma once

#include "shell/overlay.h"

// The question that keeps a run from a stray Escape: QUIT? and how to answer.
// belowEntry: under the name entry's box, which shows what will be kept.
void DrawQuitQuestion(Overlay& overlay, bool belowEntry);
// Where the options are, while the title is up.
void DrawTitleHint(Overlay& overlay);
