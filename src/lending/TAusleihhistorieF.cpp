#include "TAusleihhistorieF.h"

#include "mainwindow/TMainform.h"

TAusleihhistorieF::TAusleihhistorieF(TMainform& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("TAusleihhistorieF"));
    setWindowTitle(tr("Ausleihhistorie"));
}

TAusleihhistorieF::~TAusleihhistorieF() = default;
