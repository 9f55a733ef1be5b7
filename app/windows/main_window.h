#pragma once

// Form1, the main window: a frame with the four command buttons, the community name and the
// link to the forum. It is a modeless dialog made from a template, class "#32770".

#include <windows.h>

namespace app::form1 {

// Loads the window if it is not loaded (its Form_Load runs), then shows it, centred on the
// screen, with the focus on the first command. Returns the window, or null when it could not be
// created.
HWND Show();

// Unloads the window: Form_Unload runs, then the window is destroyed. Nothing happens when it is
// not loaded.
void Unload();

// The loaded window, or null.
HWND Window();

// Event handlers.
void Form_Load(HWND form);
void Form_Unload(HWND form);
void Command1_Click(HWND form);
void Command4_Click(HWND form);
void Label3_Click(HWND form);
void Label3_MouseMove(HWND form);
void Form_MouseMove(HWND form);

}  // namespace app::form1
