#pragma once
#include "framework/CNoTrackObject.h"
#include "framework/DialogTemplate.h"
#include <windows.h>
#include <vector>

class CWnd;
class COleControlContainer;
class COleControlSite;

// The dialog-initialisation message that hands a control its persisted state in stream form.
constexpr unsigned int WM_OCC_LOADFROMSTREAM = 0x0376;

// Makes the control container and sites of windows that host ActiveX controls; the manager in
// force decides what kind of site every control created from a template gets.
class COccManager : public CNoTrackObject {
public:
    ~COccManager() override = default;

    virtual COleControlContainer* CreateContainer(CWnd* wnd);
    virtual COleControlSite* CreateSite(COleControlContainer* container);
    // For a control described by a template item; goes through the one-argument form.
    virtual COleControlSite* CreateSite(COleControlContainer* container, const DialogTemplateItem& item);

    // Creates a dialog's set-aside template items, each with its record of the dialog's
    // initialisation data; an item whose control cannot be created is left out.
    virtual void CreateDlgControls(CWnd* dialog, const std::vector<DialogTemplateItem>& items,
                                   const std::vector<DialogInitRecord>& initRecords);
};

// Puts the given manager in force, or the framework's default one for null.
void AfxEnableControlContainer(COccManager* manager = nullptr);
// The manager in force; null until the container has been enabled.
COccManager* AfxGetOccManager();
