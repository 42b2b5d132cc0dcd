#include "link/U_LinkView.h"

#include <QCoreApplication>

void TLinkView::Breathe()
{
    QCoreApplication::processEvents();
}
