#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class NStringList;

// The commands of the movement-script language. The numbers are the order in
// which the parser tests the keywords; 0 stands for any other word.
enum ScriptOpcode : int32_t {
  kOpUnknown = 0,
  kOpMove = 1,
  kOpStop = 2,
  kOpShiftX = 3,
  kOpShiftY = 4,
  kOpSpeed = 5,
  kOpSpeedPercent = 6,
  kOpDirection = 7,
  kOpDirectionToMyChara = 8,
  kOpDirectionReverse = 9,
  kOpRotateLeft = 10,
  kOpRotateRight = 11,
  kOpLabel = 12,
  kOpGotoLabel = 13,
  kOpSetFrame = 14,
  kOpIncrFrame = 15,
  kOpRepeat = 16,
  kOpRepeatEnd = 17,
  kOpShoot = 18,
  kOpSetBulletOffset = 19,
  kOpPlaySound = 20,
  kOpGosub = 21,
  kOpReturn = 22,
};

constexpr int kScriptKeywordCount = 22;

// The keyword of opcode 1..22; "" for anything else.
const char* ScriptKeyword(int opcode);

// One command line after parsing.
struct NScriptCommand {
  int32_t opcode = 0;
  int32_t arg1 = 0;
  int32_t arg2 = 0;
};

// A movement script: the command records of one text, in line order. Blank
// lines, comments and the end line leave no record, so an index counts
// command lines only. Built once by its owner, then only read, and shared by
// every sprite that runs it.
class NScript {
 public:
  NScript() = default;
  // Parses text resource id; a missing resource leaves the script empty.
  explicit NScript(int resourceId);
  virtual ~NScript() = default;

  // Appends one record per command line. Never fails: unknown words and bad
  // numbers are absorbed.
  void Parse(const NStringList& lines);

  uint32_t GetCount() const { return static_cast<uint32_t>(commands_.size()); }
  // Callers keep index below GetCount().
  const NScriptCommand& GetCommand(uint32_t index) const { return commands_[index]; }
  // Index of the first LABEL k, or -1 when the script has none.
  int FindLabel(int32_t k) const;

 private:
  std::vector<NScriptCommand> commands_;
  std::map<int32_t, int> labels_;  // label number -> index of its first LABEL
};

// The argument conversion: leading white space, an optional sign, decimal
// digits up to the first other character; no digits give 0. Values beyond
// 32 bits stick at the nearest limit.
int32_t ParseScriptNumber(const std::string& text);
