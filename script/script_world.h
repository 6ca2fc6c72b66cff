#pragma once

// What a running script reaches outside its own sprite. The game joins these
// to its bullet list, its player, the sound bank and the random generator;
// tests and the script tracer plug in their own.

class BulletSink {
 public:
  virtual ~BulletSink() = default;
  // Fires bullet pattern `pattern` centred on (x, y).
  virtual void Shoot(int x, int y, int pattern) = 0;
};

class PlayerView {
 public:
  virtual ~PlayerView() = default;
  virtual int GetCenterX() const = 0;
  virtual int GetCenterY() const = 0;
};

class SoundSink {
 public:
  virtual ~SoundSink() = default;
  // Plays effect `sound` once; a number outside the bank is ignored.
  virtual void Play(int sound) = 0;
};

class ChanceSource {
 public:
  virtual ~ChanceSource() = default;
  // A value 0..n-1; n is positive.
  virtual int Random(int n) = 0;
};

// The program's own sound bank and random generator.
SoundSink& BankSounds();
ChanceSource& GameChance();
