// The sheet's Help menu: the help viewer and the About box.
#include "MarlinProp.h"

LRESULT CMarlinProp::OnHelpRequest(WPARAM, LPARAM)
{
    return TRUE;
}

void CMarlinProp::OnHelpContents()
{
    SendMessage(WM_HELP);
}

void CMarlinProp::OnAbout()
{
}
