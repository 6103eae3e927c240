#pragma once
#include "framework/COccManager.h"

// The control-container manager of the web panels: its sites are CCustomControlSite.
class CCustomOccManager : public COccManager {
public:
    ~CCustomOccManager() override = default;
    using COccManager::CreateSite;
    COleControlSite* CreateSite(COleControlContainer* container) override;
};
