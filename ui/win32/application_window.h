// The hidden application window and the forms' windows it owns.
//
// The application window carries the application title: it is the one
// window of the program the task bar shows (the forms are owned by it and
// get no button of their own). Minimising the main form minimises the
// application: its forms hide until the task bar button restores them.
#pragma once

#include <windows.h>

#include "ui/forms.h"

namespace ui::win32 {

// Creates the application window (class "TApplication").
HWND MakeApplicationWindow(const char* title);

// Shows the application's task bar button; the window itself has no size.
void ShowApplicationWindow();

void MinimizeApplication();
void RestoreApplication();

// Destroys a form the application owns once the message that asked for it
// has been served.
void ReleaseLater(TForm& form);

// The forms' windows, in the order they were made: a form window joins when
// it is made and leaves when it goes.
void AddFormWindow(HWND window);
void RemoveFormWindow(HWND window);
bool IsFormWindow(HWND window);

}  // namespace ui::win32
