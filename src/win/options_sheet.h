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

class ColourButton;
// The colour button of an open page window, or nullptr (for tests and screenshots).
ColourButton* colourButtonOf(HWND page, int id);

}  // namespace pairweb::win
