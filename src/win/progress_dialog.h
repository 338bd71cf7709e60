#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include "app/background_task.h"

namespace pairweb::win {

// Shows the progress dialog over a started task modally over owner, until the task has
// finished: what is being done, how far, a bar and Cancel, from the task's view on a timer.
// The dialog's message loop keeps the program's windows painting. Cancel (and Escape) only
// ask the work to stop; the dialog closes when the work has ended.
void runProgressDialog(HWND owner, app::BackgroundTask& task);

}  // namespace pairweb::win
