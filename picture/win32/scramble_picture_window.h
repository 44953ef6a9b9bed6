#pragma once
#include <windows.h>

#include <string>

#include "picture/puzzle_net.h"
#include "scramble/event_scrambler.h"
#include "toolkit/win32/back_buffer.h"
#include "toolkit/win32/companion_window.h"

namespace tw {

// F4's window: the puzzle as the next scramble leaves it, drawn in the WCA colours
// and scaled to the window. A companion of the timer's window (see CompanionWindow):
// it never takes the timer's keys, docks, and keeps its place and size.
class ScramblePictureWindow : public CompanionWindow {
 public:
  ScramblePictureWindow();
  ~ScramblePictureWindow() override;

  // The scramble shown for the next solve (its text empty while none is): drawn at once
  // when the window is shown, else when it next shows.
  void Show(scramble::Event event, const scramble::EventScramble& scramble);

  // What the window draws, for the tests.
  const picture::NetDrawing& Drawing() const { return drawing_; }
  const std::string& Note() const { return note_; }

 protected:
  bool OnLoad() override;
  void OnUnload() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();

  picture::NetDrawing drawing_;
  std::string note_;  // said instead of a picture
  BackBuffer back_buffer_;
};

}  // namespace tw
