#include "options/win32/cases_box.h"

#include <utility>

#include "picture/last_layer_view.h"
#include "picture/win32/net_bitmap.h"
#include "resources/options_layout.h"
#include "scramble/training/case_choice.h"
#include "scramble/training/last_layer_cases.h"
#include "scramble/training/training_draw.h"

namespace tw::options {

namespace {

namespace cb = layout::options::cases_box;

constexpr int kListId = 100;
constexpr int kHintId = 101;
constexpr int kNameColumnTwips = 1500;
constexpr COLORREF kPictureBack = RGB(255, 255, 255);

CasesBox* g_current = nullptr;
std::function<std::optional<std::string>(scramble::Event, const std::string&)> g_answer;

const scramble::training::LastLayerCases& TableOf(scramble::Event kind) {
  const scramble::training::LastLayerCases* table = scramble::training::CasesOf(kind);
  return table ? *table : scramble::training::LastLayerCases::Pll();
}

}  // namespace

CasesBox::CasesBox(scramble::Event kind)
    : SmallBox(kind == scramble::Event::k333oll ? cb::kOllCaption : cb::kPllCaption, cb::kClientWidth,
               cb::kClientHeight),
      cases_(TableOf(kind)),
      orientation_(kind == scramble::Event::k333oll) {}

CasesBox::~CasesBox() {
  Unload();
  if (images_) ImageList_Destroy(images_);
}

CasesBox* CasesBox::Current() { return g_current; }

void CasesBox::OnCreate() {
  const int width = cb::kClientWidth - 2 * cb::kMargin;
  list_ = AddControl(WC_LISTVIEWA, "",
                     WS_VISIBLE | WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                         LVS_SHOWSELALWAYS,
                     WS_EX_CLIENTEDGE, kListId, cb::kMargin, cb::kListTop, width, cb::kListHeight);
  AddControl("STATIC", cb::kHint, WS_VISIBLE | SS_NOPREFIX, 0, kHintId, cb::kMargin, cb::kHintTop, width,
             cb::kHintHeight);
  AddButtons(cb::kButtonTop);
}

std::optional<std::string> CasesBox::Ask(HWND owner, const std::string& current) {
  answer_.reset();
  if (!Load(owner)) return std::nullopt;
  FillList(scramble::training::CaseChoiceOrAll(cases_, current));
  CasesBox* outer = std::exchange(g_current, this);
  RunModal(owner);
  g_current = outer;
  return answer_;
}

void CasesBox::FillList(const std::vector<bool>& chosen) {
  ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const int picture = Px(cb::kPictureTwips);
  if (images_) ImageList_Destroy(images_);
  images_ = ImageList_Create(picture, picture, ILC_COLOR24, static_cast<int>(cases_.Count()), 0);
  ListView_SetImageList(list_, images_, LVSIL_SMALL);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = Px(kNameColumnTwips);
  ListView_InsertColumn(list_, 0, &column);
  RECT client{};
  GetClientRect(list_, &client);
  column.cx = std::max<int>(client.right - client.left - Px(kNameColumnTwips) - GetSystemMetrics(SM_CXVSCROLL), 0);
  ListView_InsertColumn(list_, 1, &column);
  for (std::size_t i = 0; i < cases_.Count(); ++i) {
    const std::string facelets = cases_.Example(i).Facelets();
    const GdiObject<HBITMAP> bitmap =
        picture::DrawNetBitmap(picture::DrawLastLayer(facelets, orientation_), picture, kPictureBack);
    const int image = ImageList_Add(images_, bitmap.get(), nullptr);
    std::string name = (orientation_ ? "OLL " : "") + std::string(cases_.Name(i));
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = name.data();
    item.iImage = image;
    const int at = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    std::string words = picture::DescribeLastLayer(facelets, orientation_);
    ListView_SetItemText(list_, at, 1, words.data());
    ListView_SetCheckState(list_, at, chosen[i] ? TRUE : FALSE);
  }
  ListView_SetItemState(list_, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

bool CasesBox::Ticked(int item) const { return ListView_GetCheckState(list_, item) != FALSE; }

void CasesBox::Tick(int item, bool ticked) { ListView_SetCheckState(list_, item, ticked ? TRUE : FALSE); }

void CasesBox::TickAll() {
  const int count = ListView_GetItemCount(list_);
  for (int i = 0; i < count; ++i) Tick(i, true);
}

LRESULT CasesBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == list_ && header->code == LVN_KEYDOWN) {
        const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
        if (key->wVKey == 'A' && GetKeyState(VK_CONTROL) < 0) TickAll();
      }
      return 0;
    }
    default:
      break;
  }
  return SmallBox::WndProc(message, wParam, lParam);
}

void CasesBox::OnOk() {
  std::vector<bool> chosen(cases_.Count(), false);
  bool any = false;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    chosen[i] = Ticked(static_cast<int>(i));
    any = any || chosen[i];
  }
  if (!any) {
    // A session drills at least one case: the list is corrected, not guessed.
    MessageBeep(MB_OK);
    SetFocus(list_);
    return;
  }
  answer_ = scramble::training::CaseChoiceText(cases_, chosen);
  Unload();
}

std::optional<std::string> AskForCases(HWND owner, scramble::Event kind, const std::string& current) {
  if (g_answer) return g_answer(kind, current);
  CasesBox box(kind);
  return box.Ask(owner, current);
}

void SetCasesAnswerForTesting(
    std::function<std::optional<std::string>(scramble::Event kind, const std::string& current)> answer) {
  g_answer = std::move(answer);
}

}  // namespace tw::options
