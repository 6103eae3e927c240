#pragma once
#include "framework/CDialog.h"

// The dialog base the launcher's main window derives from.
class CDialogEx : public CDialog {
public:
    explicit CDialogEx(unsigned int templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}
};
