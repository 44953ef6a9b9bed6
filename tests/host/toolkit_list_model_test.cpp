#include <gtest/gtest.h>

#include "toolkit/list_model.h"
#include "toolkit/units.h"

namespace tw {
namespace {

ListModel ThreeEntries() {
  ListModel list;
  for (const char* text : {"a", "b", "c"}) list.Append(text);
  return list;
}

TEST(ListModel, SelectingAtOrPastTheCountIsATypedFailure) {
  ListModel list = ThreeEntries();
  list.SetSelectedIndex(2);
  EXPECT_EQ(list.SelectedText(), "c");
  EXPECT_THROW(list.SetSelectedIndex(3), ListIndexError);
  EXPECT_EQ(list.SelectedIndex(), 2);  // a failed selection changes nothing
  EXPECT_THROW(list.SetSelectedIndex(-2), ListIndexError);
  list.SetSelectedIndex(-1);
  EXPECT_EQ(list.SelectedText(), "");
  EXPECT_THROW(ListModel().SetSelectedIndex(0), ListIndexError);
}

TEST(ListModel, RemovingKeepsTheSelectionOnItsEntry) {
  ListModel list = ThreeEntries();
  EXPECT_THROW(list.RemoveAt(-1), ListIndexError);
  EXPECT_THROW(list.RemoveAt(3), ListIndexError);
  EXPECT_EQ(list.Count(), 3);

  list.SetSelectedIndex(2);
  list.RemoveAt(0);
  EXPECT_EQ(list.SelectedIndex(), 1);
  EXPECT_EQ(list.SelectedText(), "c");
  list.RemoveAt(1);
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(list.Items(), std::vector<std::string>{"b"});
  EXPECT_THROW(list.TextAt(1), ListIndexError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(Units, TwipsAndPixelsAtCommonDpis) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {{7800, 96, 520}, {2295, 96, 153}, {15, 96, 1}, {7800, 144, 780}, {2055, 120, 171}, {-45, 96, -3}};
  for (const auto& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
  }
  EXPECT_EQ(PixelsToTwips(520, 96), 7800);
  EXPECT_EQ(PixelsToTwips(1280, 96), 19200);
}

}  // namespace
}  // namespace tw
