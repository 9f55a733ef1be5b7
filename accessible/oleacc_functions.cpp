#include "accessible/oleacc_functions.h"

#include "win/dll_search.h"
#include "win/module_function.h"

namespace accessible {

const Oleacc& OleaccFunctions() {
  static const Oleacc functions = [] {
    const HMODULE module = win::LoadSystemLibrary(L"oleacc.dll");
    Oleacc found;
    found.module = module;
    found.lresultFromObject =
        win::ModuleFunction<decltype(&::LresultFromObject)>(module, "LresultFromObject");
    found.objectFromWindow = win::ModuleFunction<decltype(&::AccessibleObjectFromWindow)>(
        module, "AccessibleObjectFromWindow");
    found.createStandardObject = win::ModuleFunction<decltype(&::CreateStdAccessibleObject)>(
        module, "CreateStdAccessibleObject");
    return found;
  }();
  return functions;
}

}  // namespace accessible
