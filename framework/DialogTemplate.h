#pragma once
#include "framework/CString.h"
#include <vector>

// A template item that the dialog manager cannot create: an ActiveX control named by a
// class identifier in braces. Kept for the control container.
struct DialogTemplateItem {
    unsigned int id = 0;
    CString className;
    unsigned long style = 0;
    unsigned long exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::vector<unsigned char> creationData;
};

// Copies a dialog template (plain or extended) without its brace-class items; false when
// the template is malformed or truncated.
bool SplitDialogTemplate(const void* data, size_t size, std::vector<unsigned char>& kept,
                         std::vector<DialogTemplateItem>& setAside);
