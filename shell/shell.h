#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "app/hall_offer.h"
#include "app/host.h"
#include "shell/hall_sender.h"
#include "shell/key_router.h"
#include "shell/logo_skip.h"
#include "shell/name_entry_panel.h"
#include "shell/notices.h"
#include "shell/options_menu.h"
#include "shell/overlay.h"
#include "shell/pad_router.h"
#include "shell/quit_question.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "shell/shell_devices.h"
#include "shell/shell_screen.h"

class MainLoop;
class Presenter;
struct PlatformServices;

// The comforts around the game: settings that stay, the player's keys, the
// options, PAUSED, FAST and notices on an overlay of their own. The shell is
// the host the game's loop sees: every event of the platform passes through
// it on its way to the game, and it hands on only the game's own keys. The
// options pause the game as a lost focus does (the input file records the
// pair, so a session replays the same without the shell), and a pause that
// was there before they opened stays when they close.
class Shell : public Host {
 public:
  // saved: what the file holds; run: this run's settings (saved, with what
  // the command line gave for this run only). devices must outlive the shell.
  Shell(Host& host, ShellDevices& devices, SettingsFile& file, const Settings& saved, const Settings& run);
  ~Shell() override;
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // Stands between the platform and the game: the game's host and pad
  // become the shell's, and the run's hold to fire is the player's.
  void Wrap(PlatformServices& services);
  // The loop, once it exists (hold to fire changes reach it).
  void Attach(MainLoop& loop) { loop_ = &loop; }

  // A replay is watched: REPLAY shows, and of the player's keys only
  // Escape reaches the game (it quits); the focus leaves the replay alone.
  void SetWatching(bool on) { watching_ = on; }
  // The options open on REPLAYS once the title is up (a page that plays each
  // session with a shell of its own carries the request over).
  void OpenReplaysOnTitle() { openReplays_ = true; }
  // What the options asked to play next, once the session they ended is
  // over; after a watched replay or a practice run, the title.
  std::optional<SessionRequest> TakeNextSession();
  // A run got this far: PRACTICE offers it from now on.
  void NoteReached(int stage, int level);
  // Where REPLAYS finds the kept runs and exports them (by default the
  // data folder's replays and the documents folder).
  void SetShelf(const std::filesystem::path& folder, const std::filesystem::path& exports);
  ShelfPlace Shelf() const;
  // What sends a run to the hall of fame (none: no run is ever offered).
  // The sender must outlive the shell's use.
  void SetHallSender(HallSender* sender) { hall_ = sender; }
  bool AsksToSend() const { return hallAsking_; }
  // A practice run is over and RETRY is offered.
  bool AsksToRetry() const { return retry_.has_value(); }
  // The notice shown now (empty: none).
  const std::string& Notice() { return notices_.Current(host_.NowMs()); }

  // Opens or closes the options (F1, the pad's Back, a page's button).
  void ToggleOptions();
  // Settings changed from outside the options (a page's buttons): applied
  // and kept like the options' own.
  void ChangeSettings(const Settings& wanted);
  const Settings& Current() const { return current_; }
  bool OptionsOpen() const { return optionsOpen_; }
  // Whether the page's touch buttons are out, so that the hints name them.
  void SetTouchHints(bool on) { touchHints_ = on; }
  // Saves what waits to be saved (a window size still settling).
  void Flush();

  bool PollEvent(HostEvent& event) override;
  void WaitEvent(int timeoutMs) override;
  // The loop's clock: the host's, run ahead by a skipped logo.
  uint32_t NowMs() override;
  void ShowCursor(bool show) override { host_.ShowCursor(show); }
  // The window stays while one session hands over to the next.
  void HideWindow() override {
    if (!next_ && !titleAfter_) host_.HideWindow();
  }
  void ShowMessage(const char* caption, const char* text) override { host_.ShowMessage(caption, text); }
  void ToggleFullScreen() override;
  void SetTitle(const char* title) override { host_.SetTitle(title); }
  void ScreenshotSaved(const std::string& path) override;

 private:
  void Route(const HostEvent& event);
  void KeyDown(int key, bool gameKey);
  void Menu(MenuInput input);
  void LookAtPad();
  void LookAtWindow();
  void LookAtGame();
  void LookAtNameEntry();
  void PadInNameEntry(const PadRouter::Presses& presses);
  // Brings the devices in line with current_ after a change from before,
  // and keeps the change.
  void Apply(const Settings& before);
  void Save();
  void Show();
  void HearMusic(bool on);
  void Push(const std::vector<HostEvent>& events) { pending_.insert(pending_.end(), events.begin(), events.end()); }
  void SkipLogo(bool on);
  void Pace(int key);
  void LookAtHall();
  void AnswerHall(int key);
  void SendToHall(const RunToSend& run);
  void AskRetry(const StartPoint& practice);
  void AnswerRetry(bool again);
  void EndSession(SessionRequest next);

  Host& host_;
  ShellDevices& devices_;
  SettingsFile& file_;
  Presenter* presenter_ = nullptr;
  MainLoop* loop_ = nullptr;
  Settings saved_;
  Settings current_;
  KeyRouter keys_;
  PadRouter pad_;
  OptionsMenu menu_;
  Notices notices_;
  NameEntryPanel nameEntry_;
  bool padLast_ = false;   // the pad was used last: the hints name its buttons
  int64_t heldSince_ = 0;  // the frame the pad's direction last changed
  int64_t repeatedAt_ = -1;
  QuitQuestion question_;
  LogoSkip skip_;
  std::optional<SkippingPresenter> skipPresenter_;
  std::unique_ptr<Overlay> overlay_;  // made once the palette is there
  std::optional<ShellScreen> shown_;
  std::deque<HostEvent> pending_;
  bool optionsOpen_ = false;
  bool pausedByOptions_ = false;
  bool focused_ = true;
  bool hearingMusic_ = false;
  bool touchHints_ = false;
  int menuChanges_ = 0;
  uint32_t rankingSaves_;
  uint32_t replaySaves_;
  bool watching_ = false;
  std::optional<SessionRequest> next_;
  std::optional<ShelfPlace> shelf_;
  bool titleAfter_ = false;
  bool replayHeld_ = false;
  int replaySpeed_ = 1;  // the session now is a replay or a practice run
  HallSender* hall_ = nullptr;
  uint32_t hallOffers_ = LastHallOffer().offers;  // runs offered before are not this shell's
  bool hallAsking_ = false;
  std::optional<SessionRequest> retry_;  // the practice run RETRY plays again
  bool openReplays_ = false;             // the options open on REPLAYS once the title is up
  int64_t titleAt_ = -1;                 // the frame the title came up, for that
  std::optional<WindowSize> seenSize_;
  std::optional<uint32_t> windowSaveDue_;
};
