#include "web/CCustomOccManager.h"
#include "web/CCustomControlSite.h"

COleControlSite* CCustomOccManager::CreateSite(COleControlContainer* container)
{
    return new CCustomControlSite(container);
}
