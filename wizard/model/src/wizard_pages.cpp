// Page order, navigation buttons, titles and the common message boxes.
#include "model/wizard_pages.h"

#include <array>

namespace wizard {

namespace {

constexpr std::array<int, 7> kCreateCarPages = {0, 1, 2, 3, 5, 6, 4};
constexpr std::array<int, 5> kDeleteCarPages = {0, 1, 7, 6, 4};
constexpr std::array<int, 5> kCreatePackagePages = {0, 1, 7, 6, 4};
constexpr std::array<int, 4> kExtractPackagePages = {0, 1, 6, 4};

void SetIfGiven(WizardFrameView& view, NavButton button, const std::optional<bool>& enabled) {
  if (enabled) view.SetNavButtonEnabled(button, *enabled);
}

}  // namespace

std::span<const int> OperationPages(int task) {
  switch (task) {
    case kTaskCreateCar:
      return kCreateCarPages;
    case kTaskDeleteCar:
      return kDeleteCarPages;
    case kTaskCreatePackage:
      return kCreatePackagePages;
    case kTaskExtractPackage:
      return kExtractPackagePages;
    default:
      return {};
  }
}

PageNavigation NavigationOfPage(int page) {
  switch (page) {
    case kPageGameFolder:
      return {.back = false, .next = true, .finish = false, .cancel = std::nullopt};
    case kPageProgress:
      return {.back = false, .next = false, .finish = false, .cancel = false};
    case kPageCarSelection:
      return {.back = true, .next = std::nullopt, .finish = false, .cancel = std::nullopt};
    default:
      return {.back = true, .next = true, .finish = false, .cancel = std::nullopt};
  }
}

void ShowPageFrame(WizardFrameView& view, Language language, int hidden_page, int shown_page) {
  if (shown_page < 0 || shown_page >= kPageCount) return;
  view.SwitchPage(hidden_page, shown_page);
  view.SetTitles(StringText(PageTitleId(shown_page), language),
                 StringText(PageSubtitleId(shown_page), language),
                 StringText(PageDescriptionId(shown_page), language));
}

void ShowWizardPage(WizardFrameView& view, Language language, int hidden_page, int shown_page) {
  if (shown_page < 0 || shown_page >= kPageCount) return;
  const PageNavigation nav = NavigationOfPage(shown_page);
  SetIfGiven(view, NavButton::kBack, nav.back);
  SetIfGiven(view, NavButton::kNext, nav.next);
  SetIfGiven(view, NavButton::kFinish, nav.finish);
  SetIfGiven(view, NavButton::kCancel, nav.cancel);
  ShowPageFrame(view, language, hidden_page, shown_page);
}

void ShowErrorText(WizardFrameView& view, Language language, std::string_view text) {
  view.ShowErrorBox(StringText(kStrError, language), text);
}

bool AskToClose(WizardFrameView& view, Language language, std::string_view program_name) {
  return view.AskQuestion(program_name, StringText(kStrAreYouSure, language),
                          QuestionButtons::kYesNo);
}

}  // namespace wizard
