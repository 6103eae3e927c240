#pragma once

// Each file operation of a switch and of its recovery passes here, so that a test build can
// end the process at any one of them and check what the next start finds. The product sets no hook.
typedef void (*FaultHook)();
void SetFaultHook(FaultHook hook);
void FaultPoint();
