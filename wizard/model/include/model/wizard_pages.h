// The wizard's pages and operations: the pages each operation passes (the page
// numbers are the frame view's, the task numbers the state's), the navigation
// buttons and titles of each page, and the message boxes the wizard shows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/string_table.h"
#include "ops/wizard_frame_view.h"
#include "ops/wizard_state.h"

namespace wizard {

// Dialog filters, each part followed by a vertical bar.
inline constexpr std::string_view kSFXFilter = "DEVUZA SFX (*.exe)|*.exe|";
inline constexpr std::string_view kPackageFilter = "DEVUZA (*.devuza)|*.devuza|";
inline constexpr std::string_view kPackageExtension = ".devuza";
inline constexpr std::string_view kSFXExtension = ".devuza.exe";

// Returns the pages that operation `task` passes, in order; empty for the
// edit operation and for numbers outside 0..4.
std::span<const int> OperationPages(int task);

// The string ids of page `page`'s title, subtitle and description line.
constexpr std::uint16_t PageTitleId(int page) {
  return static_cast<std::uint16_t>((page + 2) * 100);
}
constexpr std::uint16_t PageSubtitleId(int page) {
  return static_cast<std::uint16_t>(PageTitleId(page) + 1);
}
constexpr std::uint16_t PageDescriptionId(int page) {
  return static_cast<std::uint16_t>(PageTitleId(page) + 2);
}

// The navigation buttons a page sets; nullopt leaves a button as it is.
struct PageNavigation {
  std::optional<bool> back;
  std::optional<bool> next;
  std::optional<bool> finish;
  std::optional<bool> cancel;
};

// Returns what page `page` does to the navigation buttons. Page 7 leaves Next
// as it is: the caller disables it while no car is selected.
PageNavigation NavigationOfPage(int page);

// Hides the frame of `hidden_page`, shows that of `shown_page` and sets the
// page's titles in `language`. Pages outside 0..7 are ignored.
void ShowPageFrame(WizardFrameView& view, Language language, int hidden_page, int shown_page);

// Shows page `shown_page` on `view`: the navigation buttons of the page, then
// ShowPageFrame. Page-specific controls are the caller's. Pages outside 0..7
// are ignored.
void ShowWizardPage(WizardFrameView& view, Language language, int hidden_page, int shown_page);

// Shows `text` in an error box titled 10000 "Error".
void ShowErrorText(WizardFrameView& view, Language language, std::string_view text);

// Asks 112 "Are you sure?" with Yes and No, titled `program_name`; true for Yes.
bool AskToClose(WizardFrameView& view, Language language, std::string_view program_name);

}  // namespace wizard
