// The main window timed by a competition timer: what its listener reports moves the
// digits and the timer phase, and a stop is logged as a keyboard solve is. The events
// are handed to the window as the listener hands them; hearing a real timer through a
// sound device is the capture test's and the end-to-end test's.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/win32/main_window.h"
#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "storage/win32/settings.h"
#include "tests/win32/app_fixture.h"
#include "tests/win32/message_pump.h"

namespace tw {
namespace {

using stackmat::ListenerEvent;
using stackmat::Status;
using testing_support::AppFolderTest;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

constexpr const char* kStackmat =
    "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
    "Timer Input=Stackmat\r\n";

class StackmatInputTest : public AppFolderTest {
 protected:
  void TearDown() override {
    if (window) window->Unload();
    window.reset();
    book.reset();
    store.reset();
    AppFolderTest::TearDown();
  }

  void Start(const std::string& settings) {
    WriteFileBytes(Path("Setting.ini"), settings);
    store = std::make_unique<results::LogFileStore>(Path("Result.lst"));
    book = std::make_unique<results::ResultBook>(*store);
    window = std::make_unique<MainWindow>(*book);
    ASSERT_TRUE(window->Load());
    Line(stackmat::LineState::kReading);
  }

  void Line(stackmat::LineState state) {
    ListenerEvent event;
    event.kind = ListenerEvent::Kind::kLineState;
    event.state = state;
    window->OnTimerEvent(event);
  }
  // The timer says `status` with `ms` on its display, `after` ms after the last packet.
  void Packet(Status status, std::int64_t ms, std::int64_t after = 110) {
    now += after;
    ListenerEvent event;
    event.kind = ListenerEvent::Kind::kPacket;
    event.packet = stackmat::Packet{status, ms, true};
    window->OnTimerEvent(event);
  }
  // Hands on, ready, lifted: the count runs to `ms`, a packet every 110 ms.
  void RunTo(std::int64_t ms) {
    Packet(Status::kNotReady, 0);
    Packet(Status::kReady, 0);
    for (std::int64_t at = 0; at < ms; at += 110) Packet(Status::kRunning, at);
    Packet(Status::kRunning, ms);
  }
  std::string Display() const {
    return window->lblMin.Text() + ":" + window->lblSec.Text() + ":" + window->lblMSec.Text();
  }
  std::wstring CaptionShown() const {
    wchar_t text[128] = {};
    GetWindowTextW(window->Handle(), text, 128);
    return text;
  }
  std::string ResultFile() const {
    book->Flush();
    return ReadFileBytes(Path("Result.lst"));
  }

  std::unique_ptr<results::LogFileStore> store;
  std::unique_ptr<results::ResultBook> book;
  std::unique_ptr<MainWindow> window;
};

// The timer is the clock: its display is shown, its hands colour the digits, its stop
// logs what it shows cut to hundredths, and Space starts nothing.
TEST_F(StackmatInputTest, TheTimersStopLogsWhatItShows) {
  Start(kStackmat);
  EXPECT_TRUE(window->CompetitionTimer());
  window->onKeyDown(VK_SPACE, 0, false);
  EXPECT_EQ(window->Phase(), timing::Phase::Idle) << "Space starts no solve";
  Packet(Status::kIdle, 0);
  Packet(Status::kNotReady, 0);
  EXPECT_EQ(window->lblSec.ForeColor(), RGB(0xD0, 0x00, 0x00)) << "hands on, not yet ready: red";
  Packet(Status::kReady, 0);
  EXPECT_EQ(window->Phase(), timing::Phase::Ready);
  EXPECT_EQ(window->lblSec.ForeColor(), RGB(0x00, 0xA0, 0x00)) << "ready: green";
  for (std::int64_t at = 0; at < 12345; at += 110) Packet(Status::kRunning, at);
  Packet(Status::kRunning, 12345);
  EXPECT_EQ(window->Phase(), timing::Phase::Running);
  EXPECT_EQ(Display(), "00:12:34");
  Packet(Status::kStopped, 12345);
  EXPECT_EQ(window->Phase(), timing::Phase::Idle);
  EXPECT_NE(ResultFile().find("Result: 00:00:12:34\r\n"), std::string::npos) << ResultFile();
  // A reset on the timer clears the digits; the next solve logs its own time.
  Packet(Status::kIdle, 0);
  EXPECT_EQ(Display(), "00:00:00");
  RunTo(9870);
  Packet(Status::kIdle, 0, 300);  // reset mid-solve: nothing logged
  EXPECT_EQ(book->Size(), 1u);
}

// Inspection: Space starts it, the timer's start ends it and is judged then, not when
// the hands went on the pads nor when the solve stopped.
TEST_F(StackmatInputTest, InspectionIsJudgedWhenTheTimerStarts) {
  struct Case {
    std::int64_t handsOnMs;  // after Space
    std::int64_t startMs;
    const char* logged;
  };
  const Case cases[] = {
      {13'000, 14'900, "Result: 00:00:05:00"},        // a start before 15 s
      {14'000, 15'300, "Result: 00:00:07:00 (+2)"},   // hands on before 15 s, started after
      {16'500, 17'200, "Result: 00:00:05:00 (DNF)"},  // hands on before 17 s, started after
  };
  Start(std::string(kStackmat) + "Inspection=Enabled\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    const std::size_t before = book->Size();
    Packet(Status::kIdle, 0);
    window->onKeyDown(VK_SPACE, 0, false);
    ASSERT_EQ(window->Phase(), timing::Phase::Inspection);
    Packet(Status::kNotReady, 0, c.handsOnMs);
    Packet(Status::kReady, 0, (c.startMs - c.handsOnMs) / 2);
    Packet(Status::kRunning, 0, c.startMs - c.handsOnMs - (c.startMs - c.handsOnMs) / 2);
    ASSERT_EQ(window->Phase(), timing::Phase::Running);
    for (std::int64_t at = 110; at < 5000; at += 110) Packet(Status::kRunning, at);
    Packet(Status::kStopped, 5000);
    ASSERT_EQ(book->Size(), before + 1);
    const std::string line(book->Line(before));
    EXPECT_TRUE(line.ends_with(std::string("| ") + c.logged)) << line;
  }
}

// A timer that never says it stopped: its count stops changing while the line reads.
// A line gone flat mid-solve (the cable pulled) is no stop.
TEST_F(StackmatInputTest, ACountThatStopsChangingIsAStopButAFlatLineIsNot) {
  Start(kStackmat);
  RunTo(4210);
  now += 1500;
  Line(stackmat::LineState::kNoSignal);
  EXPECT_EQ(CaptionShown(), L"Twistwatch \u2014 no signal");
  window->onTimerStallTick();
  EXPECT_EQ(window->Phase(), timing::Phase::Running);
  Line(stackmat::LineState::kUnreadable);
  EXPECT_EQ(CaptionShown(), L"Twistwatch \u2014 signal unreadable");
  Line(stackmat::LineState::kReading);
  EXPECT_EQ(CaptionShown(), L"Twistwatch");
  window->onTimerStallTick();
  EXPECT_EQ(window->Phase(), timing::Phase::Idle);
  EXPECT_NE(ResultFile().find("Result: 00:00:04:21\r\n"), std::string::npos) << ResultFile();
}

// A stall is a whole second without a change: a packet lost on the line (two slots
// without a change) or a count unchanged for 999 ms is no stop.
TEST_F(StackmatInputTest, AStallIsASecondWithoutAChange) {
  Start(kStackmat);
  RunTo(4210);
  now += 220;  // the next packet was lost
  window->onTimerStallTick();
  EXPECT_EQ(window->Phase(), timing::Phase::Running) << "a lost packet ended the solve";
  Packet(Status::kRunning, 4430, 0);
  now += 999;
  window->onTimerStallTick();
  EXPECT_EQ(window->Phase(), timing::Phase::Running) << "999 ms without a change ended the solve";
  EXPECT_EQ(book->Size(), 0u);
  now += 1;
  window->onTimerStallTick();
  EXPECT_EQ(window->Phase(), timing::Phase::Idle) << "a second without a change is a stop";
  EXPECT_NE(ResultFile().find("Result: 00:00:04:43\r\n"), std::string::npos) << ResultFile();
}

// A solve dropped stays dropped: by Escape while the timer still counts, by a stall
// already logged while the frozen count keeps arriving, by the keyboard chosen mid-solve.
TEST_F(StackmatInputTest, ADroppedOrLoggedSolveIsNotStartedAgainByTheSameCount) {
  Start(kStackmat);
  RunTo(3000);
  window->onKeyDown(VK_ESCAPE, 0, false);
  Packet(Status::kRunning, 3110);
  EXPECT_EQ(window->Phase(), timing::Phase::Idle) << "the count after Escape starts nothing";
  EXPECT_EQ(Display(), "00:00:00");
  Packet(Status::kStopped, 3200);
  EXPECT_EQ(book->Size(), 0u);

  Packet(Status::kIdle, 0);
  RunTo(4210);
  now += 1500;
  window->onTimerStallTick();
  ASSERT_EQ(book->Size(), 1u);
  for (int i = 0; i < 3; ++i) Packet(Status::kRunning, 4210);
  now += 1500;
  window->onTimerStallTick();
  EXPECT_EQ(window->Phase(), timing::Phase::Idle);
  EXPECT_EQ(book->Size(), 1u) << "a frozen count is logged once";

  Packet(Status::kIdle, 0);
  RunTo(2000);
  settings::Write(settings::kTimerInput, settings::kTimerInputKeyboard);
  window->OnSettingChanged(settings::kTimerInput.name);
  EXPECT_FALSE(window->CompetitionTimer());
  EXPECT_EQ(window->Phase(), timing::Phase::Idle);
  EXPECT_EQ(CaptionShown(), L"Twistwatch");
  window->onKeyDown(VK_SPACE, 0, false);
  EXPECT_EQ(window->Phase(), timing::Phase::Running) << "the keyboard times from here";
  EXPECT_EQ(book->Size(), 1u);
}

// Without the setting the keyboard is the input: no listener, no note.
TEST_F(StackmatInputTest, TheKeyboardStaysTheInputUnlessAskedFor) {
  Start("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n");
  EXPECT_FALSE(window->CompetitionTimer());
  EXPECT_EQ(CaptionShown(), L"Twistwatch");
  Packet(Status::kRunning, 1000);
  EXPECT_EQ(window->Phase(), timing::Phase::Idle);
  window->onKeyDown(VK_SPACE, 0, false);
  EXPECT_EQ(window->Phase(), timing::Phase::Running);
}

}  // namespace
}  // namespace tw
