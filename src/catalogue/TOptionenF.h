#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TOptionenF : public QDialog
{
    Q_OBJECT

public:
    explicit TOptionenF(TMainform& main);
    ~TOptionenF() override;

private:
    TMainform& m_main;
};
