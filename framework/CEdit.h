#pragma once
#include "framework/CWnd.h"

// The base of the skinned edit box, which needs no more of the control than any window offers.
class CEdit : public CWnd {
};
