#pragma once
#include "framework/CString.h"
#include <vector>

// A template item that the dialog manager cannot create: an ActiveX control named by a
// class identifier in braces. Kept for the control container.
struct DialogTemplateItem {
    unsigned int id = 0;
    // The item's place among all items of the template: its place in the stacking order.
    unsigned int index = 0;
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

// One record of a dialog-initialisation resource: data for the control with this id.
struct DialogInitRecord {
    unsigned int id = 0;
    unsigned int message = 0;
    std::vector<unsigned char> data;
};

// The records up to the terminating zero id; false when a record runs past the end.
bool ParseDialogInit(const void* data, size_t size, std::vector<DialogInitRecord>& records);
