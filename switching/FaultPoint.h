#pragma once

// Each file operation of a switch and of its recovery passes here, so that a test build can
// end the process at any one of them and check what the next start finds. A few points carry a
// name as well, for a test that wants that moment whatever the number of files before it.
// The product sets no hook.
typedef void (*FaultHook)(const char* name);
void SetFaultHook(FaultHook hook);
void FaultPoint(const char* name = nullptr);
