#include "app/sequencer.h"

#include "app/app_block.h"
#include "app/shutdown.h"
#include "gfx/display.h"

void ClearAndPresent() {
  FillSurface(GetBackSurface(), nullptr, 0x000000);
  Present();
}

void Sequencer::Open(SceneKind kind, int runningState) {
  ClearAndPresent();
  Slot(kind) = factory_.Make(kind);
  if (Slot(kind)) Slot(kind)->Start();
  GetAppBlock().sceneState = runningState;
}

void Sequencer::RunFrame(SceneKind kind) {
  if (Slot(kind)) Slot(kind)->Update();
}

bool Sequencer::Step() {
  using namespace scene_state;
  AppBlock& app = GetAppBlock();
  switch (app.sceneState) {
    case kLogoStart:
      Open(SceneKind::Logo, kLogoRunning);
      break;
    case kLogoRunning:
      RunFrame(SceneKind::Logo);
      break;
    case kGameStart:
      Delete(SceneKind::Title);
      Delete(SceneKind::Continue);
      ClearAndPresent();
      Slot(SceneKind::Game) = factory_.MakeGame(app.startStage, app.startLevel, app.potionsCarried);
      app.sceneState = kGameRunning;
      break;
    case kGameRunning:
      RunFrame(SceneKind::Game);
      break;
    case kTitleStart:
      for (SceneKind k : {SceneKind::Logo, SceneKind::Game, SceneKind::Title, SceneKind::Ranking, SceneKind::Continue,
                          SceneKind::Ending}) {
        Delete(k);
      }
      Open(SceneKind::Title, kTitleRunning);
      break;
    case kTitleRunning:
      RunFrame(SceneKind::Title);
      break;
    case kRankingStart:
      Delete(SceneKind::Title);
      Open(SceneKind::Ranking, kRankingRunning);
      break;
    case kRankingRunning:
      RunFrame(SceneKind::Ranking);
      break;
    case kContinueStart:
      Delete(SceneKind::Game);
      Open(SceneKind::Continue, kContinueRunning);
      break;
    case kContinueRunning:
      RunFrame(SceneKind::Continue);
      break;
    case kEndingStart:
      Delete(SceneKind::Title);
      Delete(SceneKind::Game);
      Open(SceneKind::Ending, kEndingRunning);
      break;
    case kEndingRunning:
      RunFrame(SceneKind::Ending);
      break;
    case kQuit:
      Shutdown(nullptr);
      return false;
    default:
      break;  // an unknown state does nothing; the frame is presented unchanged
  }
  return true;
}

void Sequencer::DeleteAll() {
  for (SceneKind k : {SceneKind::Logo, SceneKind::Title, SceneKind::Ranking, SceneKind::Continue, SceneKind::Ending,
                      SceneKind::Game}) {
    Delete(k);
  }
}
