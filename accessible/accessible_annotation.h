#pragma once

// A description for the platform's own accessible object of a window, given through Dynamic
// Annotation: where a window has no object of the program's own (a push button while the skin
// stands aside), the platform's object answers a reader, and oleacc lets the program fill in what
// that object lacks. The description is asked for each time a reader reads it, so it is the one
// of that moment.
//
// oleacc is not imported; it is loaded from the system directory at the first annotation, and its
// annotation service made then, both kept for the process.

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace accessible {

// The description of the window now; empty for none. Called on the thread that annotated.
using DescriptionSource = std::wstring (*)(HWND window);

// Gives the object of the window's client area (OBJID_CLIENT, CHILDID_SELF) the description that
// `source` tells, in place of the platform's, as its description and as its help text, which a
// reader working through UI Automation reads instead. S_OK when the annotation service took it.
HRESULT AnnotateDescription(HWND window, DescriptionSource source);

// Takes the description annotation off again, so that the window's object answers for itself;
// S_OK also when there was none. Every annotated window is cleared before it is destroyed:
// annotations are kept by window handle, which the system gives to new windows later.
HRESULT ClearDescription(HWND window);

// Test seam, not for the program: the annotation service to use (nullptr puts the platform's
// back); returns the one it replaces. The caller keeps its object alive while it is in use.
IAccPropServices* SetAnnotationServicesForTesting(IAccPropServices* services);

}  // namespace accessible
