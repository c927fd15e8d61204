#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TAusleiheBuchenF : public QDialog
{
    Q_OBJECT

public:
    explicit TAusleiheBuchenF(TMainform& main);
    ~TAusleiheBuchenF() override;

private:
    TMainform& m_main;
};
