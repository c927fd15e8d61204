#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QIODevice;

// The table of postal codes and towns behind the reader entry's town suggestions: rows of
// (code, town); one code may have several towns, kept in table order. Read only; copies share
// the data.
//
// The table comes built into the program (resource ":/data/plz-de.tsv", UTF-8, header line
// "PLZ<TAB>Ort"). A file plz.xml in the program's directory replaces it:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <plz>
//     <ort plz="01067">Dresden</ort>
//     <ort plz="01069">Dresden</ort>
//   </plz>
//
// Each <ort> is one row: the code in the attribute "plz" (1 to 5 characters, no blanks), the
// town as the element's text (1 to 100 characters); surrounding blanks are dropped. Rows keep
// the file's order. A file that breaks these rules is not used at all.
class PostalCodes
{
    Q_DECLARE_TR_FUNCTIONS(PostalCodes)

public:
    static constexpr int MaxCodeLength = 5;
    static constexpr int MaxTownLength = 100; // the reader's Ort

    PostalCodes(); // empty

    // The table built into the program (read once per process); empty when the program was
    // built without it.
    static PostalCodes builtIn();
    // What the program uses: plz.xml of the folder when there is one and it can be read, else
    // the built-in table. `problem` receives a German sentence when a plz.xml was there but
    // could not be used.
    static PostalCodes atStart(const QString& programDir, QString* problem = nullptr);
    // Reads a plz.xml; std::nullopt and a German reason in `error` when it can't be used.
    static std::optional<PostalCodes> fromXmlFile(const QString& path, QString* error = nullptr);
    // Tab-separated rows "PLZ<TAB>Ort" after a header line.
    static PostalCodes fromTsv(QIODevice& device);

    // The towns of the code in table order; the whole text must match a code exactly
    // (letter case aside), so blanks or a partial code find nothing.
    QStringList towns(const QString& code) const;
    int rowCount() const { return m_data->rows; }
    bool isEmpty() const { return m_data->rows == 0; }

    static QString fileName() { return QStringLiteral("plz.xml"); }

private:
    struct Data
    {
        QHash<QString, QStringList> townsByCode;
        int rows = 0;
    };
    explicit PostalCodes(std::shared_ptr<const Data> data) : m_data(std::move(data)) {}
    static QString key(const QString& code) { return code.toCaseFolded(); }

    std::shared_ptr<const Data> m_data;
};
