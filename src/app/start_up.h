#pragma once
// The updater's start-up, in its fixed order, shared by the window program and
// the console program.

#include <functional>

#include "app/product_identity.h"

namespace upd {

// 1. start-up facts of the system (NT family, system language) and the
//    interface font face; 2. the application title (the caller has initialised
//    the component object library for its thread); 3. the product identity;
//    4. `createWindows` (the window program creates its window and dialog
//    here); 5. the build constants.
void StartUp(const BuildConstants& constants, const std::function<void()>& createWindows = {});

}  // namespace upd
