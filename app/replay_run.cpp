#include "app/replay_run.h"

#include "app/application.h"
#include "app/game_scenes.h"
#include "app/headless_host.h"
#include "app/main_loop.h"
#include "app/replay_watch.h"

ReplayOutcome ReplayFirstRun(const InputScript& script, const ReplayLimits& limits) {
  ReplayOutcome outcome;
  outcome.recordedVersion = script.version;
  Options options;
  options.headless = true;
  options.mute = true;
  if (limits.maxFrames > 0) options.frames = limits.maxFrames;
  options.noPicture = !limits.draw;
  HeadlessHost host;
  PlatformServices services;
  services.host = &host;
  GameSceneFactory scenes;
  Application application(options, services, scenes);
  application.UseScript(script, true);
  if (application.Start()) {
    outcome.reason = "the file's run cannot start";
    return outcome;
  }
  application.Loop().Run();
  const ReplayWatch& watch = *application.Watch();
  outcome.run = watch.Tracker().Summary();
  application.Finish();
  if (watch.Differed()) {
    outcome.failedFrame = watch.DifferedAt();
    outcome.reason = watch.Message();
  } else if (!outcome.run.ended) {
    outcome.reason = "the run did not end within the file's input and " + std::to_string(limits.maxFrames) + " frames";
  } else {
    outcome.ok = true;
  }
  return outcome;
}
