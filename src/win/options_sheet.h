#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include "app/options.h"
#include "app/prompts.h"

namespace pairweb::win {

// Runs the options property sheet modally over owner: six pages from the dialog resources,
// OK and Cancel only. Leaving a page or pressing OK commits the page shown; what then
// happens to the values is the shared sheet state's rule.
void runOptionsSheet(HWND owner, app::OptionsSheet& sheet, app::Prompts& prompts);

// The page window of an open sheet, by index (for tests and screenshots): the sheet's
// current page after PSM_SETCURSEL.
class ColourButton;
// The colour button of a page window, or nullptr.
ColourButton* colourButtonOf(HWND page, int id);

}  // namespace pairweb::win
