#include "shell/shell.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "app/app_block.h"
#include "app/application.h"
#include "app/hall_offer.h"
#include "app/main_loop.h"
#include "app/picture_folder.h"
#include "app/ranking.h"
#include "app/replay_shelf.h"
#include "app/scene.h"
#include "app/shelf_edit.h"
#include "app/shutdown.h"
#include "audio/game_sounds.h"
#include "audio/sound_list.h"
#include "base/frame_clock.h"
#include "base/utf8_path.h"
#include "gfx/curtain.h"
#include "gfx/display.h"
#include "input/input.h"
#include "input/key_names.h"
#include "shell/key_meaning.h"
#include "shell/replays_page.h"

namespace {
// A window being dragged to a new size is saved once it has kept it this long.
constexpr uint32_t kWindowSettleMs = 1000;
// How often the shell looks for the hall's answer while a run is on its way.
constexpr int kHallLookMs = 100;
// A notice fits the picture's width, a margin each side.
constexpr size_t kNoticeChars = (640 - 2 * 16) / NAscii::kGlyphWidth;

// What a watched replay keeps from the game: it plays its own.
bool IsPlayersInput(const HostEvent& event) {
  switch (event.type) {
    case HostEventType::KeyDown:
    case HostEventType::KeyUp:
    case HostEventType::FocusLost:
    case HostEventType::FocusGained:
    case HostEventType::Screenshot:
      return true;
    default:
      return false;
  }
}

// Where the player's keys act now.
Where Here() { return GetAppBlock().sceneState == scene_state::kGameRunning ? Where::Play : Where::Menus; }

// Milliseconds from now until due, 0 once it has come (the clock may wrap).
int MsUntil(uint32_t due, uint32_t now) { return std::max(0, static_cast<int32_t>(due - now)); }
}  // namespace

Shell::Shell(Host& host, ShellDevices& devices, SettingsFile& file, const Settings& saved, const Settings& run)
    : host_(host),
      devices_(devices),
      file_(file),
      saved_(saved),
      current_(run),
      pad_(nullptr, current_.bindings),
      menu_(current_),
      // Only saves made while the shell shows the game get a notice.
      rankingSaves_(LastRankingSave().saves),
      replaySaves_(LastReplaySave().saves) {}

Shell::~Shell() {
  Flush();
  if (presenter_) presenter_->SetOverlay({});
}

void Shell::Wrap(PlatformServices& services) {
  presenter_ = services.presenter;
  if (presenter_) {
    skipPresenter_.emplace(*presenter_, skip_);
    services.presenter = &*skipPresenter_;
  }
  pad_.SetPad(services.joystick);
  services.host = this;
  if (services.joystick) services.joystick = &pad_;
  services.practiceOver = [this](const StartPoint& practice) { AskRetry(practice); };
  services.holdToFire = current_.holdToFire;
  // A page cannot start full screen: the display is what the platform has.
  current_.fullScreen = devices_.IsFullScreen();
  devices_.SetVolumes(current_.musicVolume, current_.soundVolume, current_.mute);
  if (presenter_) presenter_->SetFit(current_.fit);
}

bool Shell::PollEvent(HostEvent& event) {
  LookAtGame();
  while (pending_.empty()) {
    HostEvent in;
    if (!host_.PollEvent(in)) break;
    Route(in);
  }
  // After the platform took its events: the pad as the game will read it, so
  // a button the shell keeps never reaches a frame first.
  LookAtPad();
  Show();
  if (pending_.empty()) return false;
  event = pending_.front();
  pending_.pop_front();
  return true;
}

void Shell::WaitEvent(int timeoutMs) {
  // Wake for the notice to go and the window's size to be kept.
  uint32_t now = host_.NowMs();
  auto sooner = [&](int ms) {
    if (ms >= 0) timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
  };
  sooner(notices_.MsLeft(now));
  if (windowSaveDue_) sooner(MsUntil(*windowSaveDue_, now));
  if (hall_ && hall_->Sending()) sooner(kHallLookMs);
  host_.WaitEvent(timeoutMs);
}

void Shell::Route(const HostEvent& event) {
  const AppBlock& app = GetAppBlock();
  bool typing = app.hotkeysEnabled == 0;
  // Closing the window ends the program, also from a replay or practice.
  if (event.type == HostEventType::Quit) {
    titleAfter_ = false;
    retry_.reset();
  }
  if (watching_ && IsPlayersInput(event)) {
    if (event.type == HostEventType::KeyDown && event.key == key::kEscape) pending_.push_back(event);
    if (event.type == HostEventType::KeyDown) Pace(event.key);
    return;
  }
  switch (event.type) {
    case HostEventType::Quit:
      // The name typed so far is kept: the options give the game back first.
      if (optionsOpen_ && QuitQuestion::TypingName(app)) ToggleOptions();
      Push(question_.Close(app));
      return;
    case HostEventType::KeyDown:
      KeyDown(event.key, event.gameKey);
      return;
    case HostEventType::KeyUp:
      // A key the game had goes up for it, also while the options are open:
      // it must not stay held there.
      if (int game = keys_.Up(current_.bindings, event.key, typing, Here()); game >= 0) {
        pending_.push_back({HostEventType::KeyUp, game});
      }
      return;
    case HostEventType::FocusLost:
    case HostEventType::FocusGained:
      focused_ = event.type == HostEventType::FocusGained;
      // While the options or the quit question are open they hold the game;
      // the focus is theirs to give back.
      if (!optionsOpen_ && !question_.HoldsGame()) pending_.push_back(event);
      return;
    case HostEventType::Expose:
      LookAtWindow();
      pending_.push_back(event);
      return;
    default:
      pending_.push_back(event);
      return;
  }
}

void Shell::KeyDown(int key, bool gameKey) {
  if (!gameKey) padLast_ = false;
  if (hallAsking_) {
    keys_.Keep(key);
    AnswerHall(key);
    return;
  }
  if (retry_) {
    keys_.Keep(key);
    std::optional<MenuInput> input = MenuInputFor(current_.bindings, key);
    if (input == MenuInput::Enter || input == MenuInput::Close) AnswerRetry(input == MenuInput::Enter);
    return;
  }
  if (optionsOpen_ && menu_.AwaitsKey()) {
    keys_.Keep(key);
    Settings before = current_;
    menu_.TakeKey(key);
    ++menuChanges_;
    Apply(before);
    return;
  }
  if (question_.Asking() && key != key::kEscape) {
    keys_.Keep(key);
    Push(question_.PlayOn(focused_));
    return;
  }
  if (key == key::kF1) {
    keys_.Keep(key);
    ToggleOptions();
    return;
  }
  if (optionsOpen_) {
    keys_.Keep(key);
    if (std::optional<MenuInput> input = MenuInputFor(current_.bindings, key)) Menu(*input);
    return;
  }
  if (key == key::kEscape) {
    keys_.Keep(key);
    Push(question_.Escape(GetAppBlock(), current_.confirmQuit));
    return;
  }
  // A screenshot of the logo is no wish to move on.
  if (key != key::kF12 && skip_.Take(GetAppBlock())) {
    keys_.Keep(key);
    SkipLogo(true);
    return;
  }
  int game = gameKey ? keys_.Pass(key) : keys_.Down(current_.bindings, key, GetAppBlock().hotkeysEnabled == 0, Here());
  if (game >= 0) pending_.push_back({HostEventType::KeyDown, game});
}

void Shell::Menu(MenuInput input) {
  Settings before = current_;
  bool stays = menu_.Press(input);
  // Saved as a name entry saves; a failure is told as after one.
  if (menu_.TakeResetRanking()) ResetRanking();
  ++menuChanges_;
  Apply(before);
  if (!menu_.OnMusic()) HearMusic(false);
  if (!stays) ToggleOptions();
  if (std::optional<RunToSend> run = menu_.TakeSend()) SendToHall(*run);
  if (std::optional<SessionRequest> request = menu_.TakeRequest()) EndSession(std::move(*request));
}

// The session ends as the window's close does (a name being typed is kept);
// the next one follows.
void Shell::EndSession(SessionRequest next) {
  next_ = std::move(next);
  Push(question_.Close(GetAppBlock()));
}

// A practice run's game over holds the game, as the quit question does, until
// the player says RETRY or the title.
void Shell::AskRetry(const StartPoint& practice) {
  retry_ = SessionRequest{SessionRequest::Kind::Practice, "", practice.stage, practice.level, practice.potions};
  if (!GetAppBlock().paused) pending_.push_back({HostEventType::FocusLost});
}

void Shell::AnswerRetry(bool again) {
  SessionRequest next = again ? *retry_ : SessionRequest{};
  retry_.reset();
  next_ = std::move(next);
  pending_.push_back({HostEventType::Quit});
}

// A watched replay: P holds it, S steps through 1x, 4x and 16x (unheard).
void Shell::Pace(int key) {
  constexpr std::array<int, 3> kSpeeds = {1, 4, 16};
  constexpr int kUnheardSpeed = 16;
  if (key == key::kP) {
    replayHeld_ = !replayHeld_;
  } else if (key == key::kS) {
    auto at = std::find(kSpeeds.begin(), kSpeeds.end(), replaySpeed_);
    replaySpeed_ = at == kSpeeds.end() || at + 1 == kSpeeds.end() ? kSpeeds[0] : *(at + 1);
    devices_.SetVolumes(current_.musicVolume, current_.soundVolume, current_.mute || replaySpeed_ >= kUnheardSpeed);
  } else {
    return;
  }
  if (loop_) loop_->SetReplayPace(replayHeld_, replaySpeed_);
}

void Shell::SetShelf(const std::filesystem::path& folder, const std::filesystem::path& exports) {
  shelf_ = ShelfPlace{folder, exports, false};
}

ShelfPlace Shell::Shelf() const { return shelf_ ? *shelf_ : ShelfPlace{KeptRunsFolder(), DocumentsFolder(), false}; }

std::optional<SessionRequest> Shell::TakeNextSession() {
  std::optional<SessionRequest> next = std::move(next_);
  next_.reset();
  if (!next && titleAfter_) next = SessionRequest{};
  titleAfter_ = next && next->kind != SessionRequest::Kind::Title;
  watching_ = next && next->kind == SessionRequest::Kind::Watch;
  openReplays_ = next && next->openReplays;
  titleAt_ = -1;
  retry_.reset();
  if (replaySpeed_ != 1) devices_.SetVolumes(current_.musicVolume, current_.soundVolume, current_.mute);
  replayHeld_ = false;
  replaySpeed_ = 1;
  return next;
}

void Shell::NoteReached(int stage, int level) {
  if (stage < 1 || level < 1) return;
  std::vector<int>& reached = current_.reached;
  if (reached.size() < static_cast<size_t>(stage)) reached.resize(static_cast<size_t>(stage));
  int& furthest = reached[static_cast<size_t>(stage - 1)];
  if (level <= furthest) return;
  Settings before = current_;
  furthest = level;
  Apply(before);
}

void Shell::ToggleOptions() {
  const AppBlock& app = GetAppBlock();
  if (!optionsOpen_) {
    optionsOpen_ = true;
    using namespace scene_state;
    int scene = app.sceneState;
    bool inGame = !watching_ && (scene == kGameStart || scene == kGameRunning || scene == kContinueStart ||
                                 scene == kContinueRunning);
    ShelfPlace place = Shelf();
    place.inGame = inGame;
    place.hall = hall_ && !current_.hallOfFame.empty();
    menu_.Open(place);
    // The page's own button may have changed it meanwhile.
    current_.fullScreen = devices_.IsFullScreen();
    // The game stops as when the window loses its focus; a game paused
    // already (with P) stays paused as it is.
    pausedByOptions_ = !app.paused;
    if (pausedByOptions_) pending_.push_back({HostEventType::FocusLost});
  } else {
    optionsOpen_ = false;
    HearMusic(false);
    pad_.KeepHeldButtons();
    if (pausedByOptions_ && focused_) pending_.push_back({HostEventType::FocusGained});
    pausedByOptions_ = false;
  }
  ++menuChanges_;
}

void Shell::LookAtNameEntry() {
  const AppBlock& app = GetAppBlock();
  // A practice run's name entry is never typed into: RETRY stands there.
  bool entering = app.sceneState == scene_state::kGameRunning && app.hotkeysEnabled == 0 && !retry_;
  std::optional<std::string> entered = nameEntry_.Look(entering, current_.rememberName ? current_.name : "");
  if (entered && current_.rememberName && *entered != current_.name) {
    Settings before = current_;
    current_.name = *entered;
    Apply(before);
  }
  // A game held (by the options, by a lost focus) hears no keys.
  if (app.paused || optionsOpen_ || retry_) return;
  if (std::optional<int> key = nameEntry_.KeyToType(CurrentFrame())) {
    pending_.push_back({HostEventType::KeyDown, *key});
    pending_.push_back({HostEventType::KeyUp, *key});
  }
}

void Shell::LookAtWindow() {
  std::optional<WindowSize> size = devices_.WindowedSize();
  if (!size) return;
  // The size a window first has is the run's (the settings', the command
  // line's, the window manager's); a change after that is the player's.
  if (!seenSize_ || *size == *seenSize_) {
    seenSize_ = size;
    return;
  }
  seenSize_ = size;
  Settings before = current_;
  current_.window = size;
  CopyChanges(before, current_, saved_);
  windowSaveDue_ = host_.NowMs() + kWindowSettleMs;
}

void Shell::LookAtGame() {
  const AppBlock& app = GetAppBlock();
  Push(question_.Look(app));
  if (skip_.Look(app)) SkipLogo(false);
  const RankingSaveStatus& ranking = LastRankingSave();
  if (ranking.saves != rankingSaves_) {
    rankingSaves_ = ranking.saves;
    if (ranking.failed) notices_.Show("RANKING NOT SAVED", host_.NowMs());
  }
  const ReplaySaveStatus& replay = LastReplaySave();
  if (replay.saves != replaySaves_) {
    replaySaves_ = replay.saves;
    if (replay.failed) notices_.Show("REPLAY NOT SAVED", host_.NowMs());
  }
  if (windowSaveDue_ && MsUntil(*windowSaveDue_, host_.NowMs()) == 0) Flush();
  LookAtNameEntry();
  LookAtHall();
  // REPLAYS chosen in a game ended it: the list opens over the title once
  // its curtain has opened (the options hold the picture as it is).
  if (!openReplays_ || app.sceneState != scene_state::kTitleRunning || optionsOpen_) return;
  if (titleAt_ < 0) titleAt_ = CurrentFrame();
  if (CurrentFrame() - titleAt_ < kCurtainFrames) return;
  openReplays_ = false;
  titleAt_ = -1;
  ToggleOptions();
  menu_.ShowReplays();
}

// A run a hall may rank is offered once, and only where a hall is set.
void Shell::LookAtHall() {
  const HallOffer& offer = LastHallOffer();
  if (offer.offers != hallOffers_) {
    hallOffers_ = offer.offers;
    hallAsking_ = hall_ && !current_.hallOfFame.empty() && !watching_;
  }
  if (!hall_) return;
  if (std::optional<HallAnswer> answer = hall_->Take()) notices_.Show(HallNotice(*answer, kNoticeChars), host_.NowMs());
}

// Only Enter sends; any other key lets the run go unsent.
void Shell::AnswerHall(int key) {
  hallAsking_ = false;
  if (key != key::kEnter && key != key::kKeypadEnter) return;
  const HallOffer& offer = LastHallOffer();
  hall_->Send(current_.hallOfFame, offer.name, offer.replay);
  notices_.Show("SENDING TO THE HALL OF FAME", host_.NowMs());
}

// A kept run sent from REPLAYS: the same request and answer as the offer's.
void Shell::SendToHall(const RunToSend& run) {
  if (!hall_) return;
  if (hall_->Sending()) {
    notices_.Show("STILL SENDING THE LAST RUN", host_.NowMs());
    return;
  }
  hall_->Send(current_.hallOfFame, run.name, run.replay);
  notices_.Show("SENDING TO THE HALL OF FAME", host_.NowMs());
}

void Shell::ToggleFullScreen() {
  host_.ToggleFullScreen();
  Settings before = current_;
  current_.fullScreen = devices_.IsFullScreen();
  CopyChanges(before, current_, saved_);
  if (!(before == current_)) Save();
}

void Shell::ScreenshotSaved(const std::string& path) {
  notices_.Show(Utf8Of(PathFromUtf8(path).filename()), host_.NowMs());
}

void Shell::ChangeSettings(const Settings& wanted) {
  Settings before = current_;
  current_ = wanted;
  Apply(before);
  ++menuChanges_;  // open options show the change too
}

void Shell::Apply(const Settings& before) {
  if (before == current_) return;
  uint32_t now = host_.NowMs();
  if (before.mute != current_.mute) {
    devices_.SetVolumes(current_.musicVolume, current_.soundVolume, current_.mute);
    notices_.Show(current_.mute ? "SOUND OFF" : "SOUND ON", now);
  } else if (before.musicVolume != current_.musicVolume || before.soundVolume != current_.soundVolume) {
    devices_.SetVolumes(current_.musicVolume, current_.soundVolume, current_.mute);
    bool music = before.musicVolume != current_.musicVolume;
    notices_.Show((music ? "MUSIC " : "SOUND ") + std::to_string(music ? current_.musicVolume : current_.soundVolume),
                  now);
    // The level is heard at once: the tune sounds on while the options'
    // MUSIC is chosen, the effects play a sample; the game's sound log never
    // hears of either.
    if (music && optionsOpen_) HearMusic(true);
    if (!music && GetSoundList()) GetSoundList()->Preview(sound::kChime);
  }
  if (before.fullScreen != current_.fullScreen && devices_.IsFullScreen() != current_.fullScreen) {
    host_.ToggleFullScreen();
  }
  if (before.fit != current_.fit && presenter_) presenter_->SetFit(current_.fit);
  if (before.holdToFire != current_.holdToFire && loop_ && !loop_->SetHoldToFire(current_.holdToFire)) {
    notices_.Show("HOLD TO FIRE FROM THE NEXT RUN", now);
  }
  CopyChanges(before, current_, saved_);
  Save();
}

uint32_t Shell::NowMs() { return skip_.Now(host_.NowMs(), GetAppBlock()); }

// A skipped logo is not heard: its jingle is silenced where it got to, and
// the title sounds as it would have.
void Shell::SkipLogo(bool on) {
  if (!on) devices_.SilenceEffects();
  devices_.SetVolumes(current_.musicVolume, on ? 0 : current_.soundVolume, current_.mute);
}

void Shell::HearMusic(bool on) {
  if (on == hearingMusic_) return;
  hearingMusic_ = on;
  devices_.HearMusic(on);
}

void Shell::Save() {
  if (!file_.Save(saved_)) notices_.Show("SETTINGS NOT SAVED", host_.NowMs());
}

void Shell::Flush() {
  if (!windowSaveDue_) return;
  windowSaveDue_.reset();
  Save();
}

void Shell::Show() {
  const AppBlock& app = GetAppBlock();
  ShellScreen screen;
  screen.options = optionsOpen_;
  // GET READY and the game's banners stand mid-picture in play.
  screen.optionsInPlay = optionsOpen_ &&
                         (app.sceneState == scene_state::kGameStart || app.sceneState == scene_state::kGameRunning) &&
                         !QuitQuestion::TypingName(app);
  screen.menuChanges = optionsOpen_ ? menuChanges_ : 0;
  screen.quitQuestion = question_.Asking() && !IsQuitRequested();
  screen.typingName = QuitQuestion::TypingName(app);
  screen.paused = app.paused != 0 && !IsQuitRequested() && !screen.quitQuestion;
  // A page's touch buttons show their Options button already.
  screen.titleHint = app.sceneState == scene_state::kTitleRunning && !IsQuitRequested() && !touchHints_;
  screen.fast = app.frameInterval == kFastFrameInterval;
  const std::vector<int>& pause = current_.bindings.Keys(Action::Pause);
  screen.pauseKey = pause.empty() ? "P" : std::string(KeyNameFromCode(pause.front()));
  screen.pad = padLast_ && !touchHints_;
  if (screen.pad) screen.pauseKey = FirstButtonName(current_.bindings.padPause, "START");
  screen.nameEntry = nameEntry_.Screen(screen.pad, FirstButtonName(current_.bindings.padFire, "A"));
  screen.touch = touchHints_;
  screen.replay = watching_;
  if (watching_ && replayHeld_) screen.replayPace = "PAUSED";
  if (watching_ && !replayHeld_ && replaySpeed_ > 1) screen.replayPace = std::to_string(replaySpeed_) + "X";
  screen.notice = notices_.Current(host_.NowMs());
  screen.hallQuestion = hallAsking_;
  if (retry_ && !IsQuitRequested()) {
    screen.retryAnswers = screen.pad ? FirstButtonName(current_.bindings.padConfirm, "A") + " RETRIES - BACK TITLE"
                                     : "ENTER RETRIES - ESC TITLE";
  }
  if (shown_ == screen || !presenter_ || !GetBackSurface()) return;
  if (!overlay_) overlay_ = std::make_unique<Overlay>();
  DrawShellScreen(screen, menu_, *overlay_);
  presenter_->SetOverlay(overlay_->View());
  shown_ = screen;
}
