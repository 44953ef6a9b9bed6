#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "app/win32/single_instance.h"
#include "storage/win32/app_folder.h"
#include "storage/win32/wide_path.h"
#include "tests/win32/message_pump.h"
#include "tests/win32/storage_temp_folder.h"
#include "toolkit/win32/form.h"

namespace tw {
namespace {

using storage::Narrow;
using storage::Widen;
using storage::testing::TempFolder;

TEST(InstanceClaimName, OneNamePerFolderHoweverItIsWritten) {
  const TempFolder folder("-Long Folder \xe6\x97\xa5\xe6\x9c\xac");  // "日本"
  ASSERT_TRUE(CreateDirectoryW(Widen(folder / "sub").c_str(), nullptr));
  const std::wstring name = InstanceClaimName(folder.path());
  EXPECT_TRUE(name.starts_with(L"Local\\Twistwatch-")) << Narrow(name);
  EXPECT_EQ(name.size(), std::wstring(L"Local\\Twistwatch-").size() + 16);

  std::string upper = folder.path();
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  std::string slashes = folder.path();
  for (char& c : slashes) {
    if (c == '\\') c = '/';
  }
  wchar_t shortName[MAX_PATH] = {};
  GetShortPathNameW(Widen(folder.path()).c_str(), shortName, MAX_PATH);
  ASSERT_NE(Narrow(shortName), folder.path()) << "a name with spaces has an 8.3 form";
  for (const std::string& same : {upper, slashes, folder.path().substr(0, folder.path().size() - 1),
                                  folder / "sub\\..", Narrow(shortName)}) {
    EXPECT_EQ(InstanceClaimName(same), name) << same;
  }
  EXPECT_NE(InstanceClaimName(folder / "sub"), name);
  const TempFolder other("-Long Folder \xe6\x97\xa5\xe6\x9c\xac" "2");
  EXPECT_NE(InstanceClaimName(other.path()), name);
}

FormDesign MainLikeDesign(const char* caption) {
  return FormDesign{caption, 3000, 1500, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0x00FFFFFF,
                    FontSpec{"Tahoma", 825, FW_NORMAL}, 0, true};
}

class PlainForm : public Form {
 public:
  explicit PlainForm(const char* caption) : Form(MainLikeDesign(caption)) {}
};

// This process plays the first copy: its folder is this executable's, and its main
// window is minimised behind a window of another kind of the same program.
TEST(ClaimSingleInstance, ASecondClaimRestoresTheFirstCopysMainWindowAndSaysNo) {
  const std::string folder = storage::ApplicationFolder();
  ASSERT_TRUE(ClaimSingleInstance(folder));

  PlainForm main("Twistwatch"), statistics("Twistwatch | Statistics");
  ASSERT_TRUE(main.Load());
  ASSERT_TRUE(statistics.Load());
  main.Show();
  ShowWindow(main.Handle(), SW_MINIMIZE);
  statistics.Show();
  ASSERT_TRUE(testing_support::PumpUntil([&] { return IsIconic(main.Handle()) && GetForegroundWindow() == statistics.Handle(); }));

  EXPECT_FALSE(ClaimSingleInstance(folder));
  EXPECT_TRUE(testing_support::PumpUntil([&] { return !IsIconic(main.Handle()); })) << "restored";
  EXPECT_EQ(GetForegroundWindow(), main.Handle());

  const TempFolder elsewhere;
  EXPECT_TRUE(ClaimSingleInstance(elsewhere.path())) << "another folder is free";
}

}  // namespace
}  // namespace tw
