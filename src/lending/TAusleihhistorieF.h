#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TAusleihhistorieF : public QDialog
{
    Q_OBJECT

public:
    explicit TAusleihhistorieF(TMainform& main);
    ~TAusleihhistorieF() override;

private:
    TMainform& m_main;
};
