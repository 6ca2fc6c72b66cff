#include "app/stats_log.h"

#include "app/app_block.h"
#include "game/game.h"

bool StatsLog::Open(const std::string& path) { return out_.Open(path, "no statistics are logged"); }

void StatsLog::Write(int64_t frame) {
  if (out_.IsOpen()) out_.Write(Line(frame) + '\n');
}

std::string StatsLog::Line(int64_t frame) {
  std::string line = "frame=" + std::to_string(frame) + " scene=" + Value(GetAppBlock().sceneState);
  const NGame* game = CurrentGame();
  const char* keys[] = {"state", "timer",   "stage",   "level", "x",     "pstate",     "lives", "potions",
                        "power", "enemies", "bullets", "shots", "items", "explosions", "boss"};
  if (!game) {
    for (const char* key : keys) line += std::string(" ") + key + "=-";
    return line;
  }
  GameSnapshot s = game->Snapshot();
  const int values[] = {s.state, s.timer,   s.stage,   s.level, s.x,     s.playerState, s.lives,        s.potions,
                        s.power, s.enemies, s.bullets, s.shots, s.items, s.explosions,  s.bossHitPoints};
  for (size_t i = 0; i < std::size(keys); ++i) {
    bool none = i + 1 == std::size(keys) && values[i] < 0;
    line += std::string(" ") + keys[i] + "=" + (none ? std::string("-") : Value(values[i]));
  }
  return line;
}
