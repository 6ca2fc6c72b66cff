#pragma once

// Where one sprite stands in its script. A sprite has exactly one loop
// counter and one return position: REPEAT blocks do not nest and subroutines
// do not call subroutines.
struct ScriptState {
  int opcode = 0;  // command in progress; 0 = fetch the next
  int pc = 0;      // index of the next command to fetch
  int arg1 = 0;    // MOVE and STOP count it down
  int arg2 = 0;
  int repeatStart = 0;   // first command after the active REPEAT
  int repeatCount = 0;   // passes still to run, the current one included
  int returnIndex = -1;  // where RETURN continues; -1 when no GOSUB is pending
  int bulletOffsetX = 0;
  int bulletOffsetY = 0;

  // Back to the first command. The bullet offsets stay: they belong to the
  // sprite's shape, not to its place in the script.
  void Restart() {
    opcode = pc = arg1 = arg2 = repeatStart = repeatCount = 0;
    returnIndex = -1;
  }
};
