// The About panel: its links by click and by key, their hover, and its picture.
#include <gtest/gtest.h>

#include "tests/win32/options_window_fixture.h"

namespace tw {
namespace {

using namespace options_testing;

TEST_F(OptionsWindowTest, LinksOpenTheirTargetsByClickAndByKey) {
  OptionsWindow& window = LoadOptions("");
  const auto command = [&](const char* name) {
    HWND link = Named(window, name);
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
  };
  command("lblURL1");
  command("lblURL2");
  command("lblURL3");
  SendMessageA(window.Control("lblURL2"), WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(window.Control("lblURL3"), WM_KEYDOWN, VK_SPACE, 0);
  const std::string mail = std::string("mailto:") + links::kContactEmail +
                           "?subject=[Twistwatch v1.0] <Put your subject here>";
  EXPECT_EQ(opened, (std::vector<std::string>{links::kHomePage, links::kWebSite, mail, links::kWebSite, mail}));
  EXPECT_EQ(Text(window.Control("lblURL3")), links::kContactEmail);
  EXPECT_EQ(Text(window.Control("lblURL1")), links::kHomePage);
}

TEST_F(OptionsWindowTest, HoverEmphasisesTheLinkUnderThePointerOnly) {
  OptionsWindow& window = LoadOptions("");
  const auto emphasis = [&] {
    std::string marks;
    for (int link = 0; link < 3; ++link) marks += window.LinkBold(link) && window.LinkUnderline(link) ? 'X' : '.';
    return marks;
  };
  struct Step {
    const char* over;
    int dy;
    const char* after;  // lblURL1, lblURL2, lblURL3
  };
  const Step steps[] = {
      {"lblURL2", -1, ".X."},
      {"Label1", -1, ".X."},   // the title leaves the emphasis alone
      {"Label3", -1, ".X."},   // so does the description frame's content
      {"lblURL3", 2, "..X"},
      {"lblURL1", 1, "X.."},   // straight from lblURL3 onto lblURL1 where they touch
      {"Label4", -1, "..."},
      {"lblURL3", -1, "..X"},
      {"Label7", -1, "..."},
      {"lblURL1", -1, "X.."},
      {"fraAbout", 30, "..."},  // the frame's margin above the title
  };
  for (const Step& s : steps) {
    window.onPointerMove(PointIn(window, s.over, s.dy));
    EXPECT_EQ(emphasis(), s.after) << s.over;
  }
  window.onPointerMove(PointIn(window, "lblURL2"));
  window.onPointerMove(POINT{2, 2});  // the window's own background
  EXPECT_EQ(emphasis(), "...");

  window.onPointerMove(PointIn(window, "lblURL3"));
  const LOGFONTA bold = FontOf(window.Control("lblURL3"));
  EXPECT_GE(bold.lfWeight, FW_BOLD);
  EXPECT_TRUE(bold.lfUnderline);
  const LOGFONTA plain = FontOf(window.Control("lblURL1"));
  EXPECT_EQ(plain.lfWeight, FW_NORMAL);
  EXPECT_FALSE(plain.lfUnderline);
  EXPECT_STREQ(plain.lfFaceName, "Tahoma");
}

TEST_F(OptionsWindowTest, PointerOverALinkGetsTheHandAndTheEmphasis) {
  OptionsWindow& window = LoadOptions("");
  window.Show();
  POINT at = PointIn(window, "lblURL2");
  ClientToScreen(window.Handle(), &at);
  ASSERT_TRUE(SetCursorPos(at.x, at.y));
  HWND link = window.Control("lblURL2");
  const LRESULT handled = SendMessageA(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(handled);
  EXPECT_TRUE(window.LinkBold(1));
  EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(OptionsWindowTest, AClickWhereTwoLinksTouchOpensTheOneTheHoverEmphasises) {
  OptionsWindow& window = LoadOptions("");
  window.Show();
  // lblURL1 is stacked in front of lblURL3 on the row where their boxes meet.
  RECT mail, home, row;
  GetWindowRect(window.Control("lblURL3"), &mail);
  GetWindowRect(window.Control("lblURL1"), &home);
  ASSERT_TRUE(IntersectRect(&row, &mail, &home)) << "the two links no longer touch";
  ASSERT_TRUE(SetCursorPos((row.left + row.right) / 2, row.top));
  // Real input: the system finds the window under the pointer for the move and the click.
  SendMouse(MOUSEEVENTF_MOVE);
  ASSERT_TRUE(PumpUntil([&] { return window.LinkBold(0); }));
  EXPECT_FALSE(window.LinkBold(2));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !opened.empty(); }));
  EXPECT_EQ(opened, (std::vector<std::string>{links::kHomePage}));
}

TEST(AboutPicture, DecodesTheFirstFrameAtItsLayoutSize) {
  const ComApartment com;
  ASSERT_TRUE(SUCCEEDED(com.hr));
  std::string root = TW_SOURCE_DIR;
  if (!root.empty() && root[0] == '/') root = "Z:" + root;
  const std::string gif = ReadFileBytes(root + "/resources/about.gif");
  ASSERT_FALSE(gif.empty());
  const options::Bitmap picture = options::DecodeStillPicture(gif.data(), gif.size(), 96, 32, RGB(255, 255, 255));
  ASSERT_TRUE(picture);
  BITMAP info{};
  GetObjectA(picture.get(), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 96);
  EXPECT_EQ(info.bmHeight, 32);
  // Something is drawn: not every pixel is the white it was laid on.
  const auto* bits = static_cast<const BYTE*>(info.bmBits);
  bool drawn = false;
  for (int i = 0; i < info.bmWidthBytes * info.bmHeight && !drawn; ++i) drawn = bits[i] != 255;
  EXPECT_TRUE(drawn);
  EXPECT_FALSE(options::DecodeStillPicture("GIF89a", 6, 96, 32, RGB(255, 255, 255)));
}

}  // namespace
}  // namespace tw
