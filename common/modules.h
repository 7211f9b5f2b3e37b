// The gateway of every module of modules.def: void <name>_gateway(Call&).
#pragma once

#include "call.h"

namespace velk {
#define VELK_MODULE(name, folder, python_name, category, exports) void name##_gateway(Call& call);
#include "modules.def"
#undef VELK_MODULE
}  // namespace velk
