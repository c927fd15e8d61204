#pragma once

#include "SourceReader.h"

// Access databases (Jet 3 and Jet 4 .mdb files) through libmdb.
class AccessReader : public SourceReader
{
public:
    explicit AccessReader(const QString& fileName);
    ~AccessReader() override;
    AccessReader(const AccessReader&) = delete;
    AccessReader& operator=(const AccessReader&) = delete;

    // The user tables by name, then the system tables.
    QStringList tableNames() const override;
    SourceTable read(const QString& table) const override;

private:
    struct Handle;
    Handle* m_handle = nullptr;
    QStringList m_tables;
};
