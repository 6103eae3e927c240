#include "web/PanelLoad.h"

void PanelLoad::OnNavigate()
{
    m_failed = false;
}

void PanelLoad::OnError()
{
    m_failed = true;
    m_shown = false;
}

void PanelLoad::OnComplete(bool ownPage)
{
    // The control completes a document for a failed navigation too, where it shows its own page.
    m_shown = ownPage && !m_failed;
}
