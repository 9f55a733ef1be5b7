#pragma once

// Tooltips of the platform's own control (tooltips_class32) over controls of a form. A tool's
// text is asked of the form (TTN_GETDISPINFOW) each time its tooltip is about to show, so that it
// tells what is true at that moment. The control keeps the system's tooltip colours, high
// contrast included, and the skin leaves it alone: it is a pop-up window, not a child.
//
// comctl32 is not imported: it is not one of the DLLs that Windows always takes from its system
// directory, so it is loaded from there on first need, and kept for the process, since the
// tooltip's window runs its code.

#include <windows.h>

#include <commctrl.h>

namespace app {

// Creates the tooltip of `form`, which owns it: it goes when the form goes. Null where comctl32
// or its tooltip class is missing; the form then shows no tooltips.
HWND CreateFormTooltip(HWND form);

// Adds `tool`, a control anywhere inside `form`, whose text the tooltip asks `form` for. The
// tooltip does not subclass the tool: it learns of the pointer from RelayToTooltip, so that it can
// be made long after the skin came onto the tool, and the skin can come off it again at any time.
// False where the tooltip took no tool.
bool AddTooltipTool(HWND tooltip, HWND form, HWND tool);

// Passes the mouse message that the pointer just sent to `window` (WM_SETCURSOR names it in the
// high word of its lParam) on to the tooltip, at the pointer's position as the message had it.
void RelayToTooltip(HWND tooltip, HWND window, UINT mouseMessage);

// Gives the tooltip the font of the form's DPI (the caller keeps it alive for as long as the
// tooltip uses it) and wraps its text at a width of that DPI.
void SetTooltipDpi(HWND tooltip, HFONT font, int dpi);

// The tooltip's request for a tool's text, where WM_NOTIFY's lParam is one from `tooltip`; null
// for any other notification. The form points its lpszText at a text that lives until the next
// request.
NMTTDISPINFOW* TooltipTextRequest(HWND tooltip, LPARAM lParam);

}  // namespace app
