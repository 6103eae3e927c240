#include "switching/FaultPoint.h"

namespace {
FaultHook g_hook = nullptr;
}

void SetFaultHook(FaultHook hook)
{
    g_hook = hook;
}

void FaultPoint(const char* name)
{
    if (g_hook) g_hook(name);
}
