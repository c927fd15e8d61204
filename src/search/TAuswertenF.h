#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TAuswertenF : public QDialog
{
    Q_OBJECT

public:
    explicit TAuswertenF(TMainform& main);
    ~TAuswertenF() override;

private:
    TMainform& m_main;
};
