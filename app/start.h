// The program's run around its forms: the application title and window, the
// standard error box, the forms, the message loop until the main form
// closes, and the end.
#pragma once

#include <functional>

#include "platform/platform.h"
#include "ui/forms.h"

namespace app {

// Creates the application's forms on the platform; gives the main form.
using FormMaker = std::function<ui::TForm&(const platform::Platform& os)>;

// Runs the program with the forms `makeForms` creates and gives its exit
// code. The error box is shown through `os`, which the caller keeps until
// this has returned: an error while the forms are made, in the loop, or
// while they are destroyed is shown in it; then the program ends (exit code
// 1 when the loop never ran). Nothing is shown once this has returned.
int Run(const platform::Platform& os, const FormMaker& makeForms) noexcept;

}  // namespace app
