#pragma once

#include <QDialog>

class TMainform;

// Skeleton: the real dialog replaces this file.
class TDB1EingabeF : public QDialog
{
    Q_OBJECT

public:
    explicit TDB1EingabeF(TMainform& main);
    ~TDB1EingabeF() override;
    // Loads the stored value lists into the combo boxes (re-reading them first).
    void FillBookEntryLists();

private:
    TMainform& m_main;
};
