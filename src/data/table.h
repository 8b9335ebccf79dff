#pragma once

#include <string>
#include <vector>

#include "data/dataset.h"
#include "data/fielddef.h"
#include "data/indexdef.h"

// A table object over one table file: the file is the database name (a folder) joined with
// the table name, ".db" added when the name has no extension; a table name that is a full
// path needs no folder. The table inside the file has the file's base name. The stored
// fields are the file's columns in their order.
//
// Filter: "field=value" (the lists use "kind_Serial=n") narrows the rows while Filtered is
// set; an empty text shows all. IndexName orders the rows by one of the file's named
// indexes, its direction and case rule included; an empty name keeps the rows in the order
// they were added.
class TTable : public TDataSet {
public:
    TTable(TSession& session, std::string name);
    ~TTable() override;

    void SetDatabaseName(const std::string& folder);
    void SetTableName(const std::string& tableName);
    const std::string& TableName() const { return tableName; }
    std::string FilePath() const;

    void SetFilter(const std::string& text);
    const std::string& Filter() const { return filter; }
    void SetFiltered(bool value);
    bool Filtered() const { return filtered; }
    void SetIndexName(const std::string& indexName);
    const std::string& IndexName() const { return indexName; }

    // The definitions used by CreateTable and RebuildIndexes.
    void SetFieldDefs(const std::vector<TFieldDef>& defs) { fieldDefs = defs; }
    void SetIndexDefs(const std::vector<TIndexDef>& defs) { indexDefs = defs; }
    const std::vector<TIndexDef>& IndexDefs() const { return indexDefs; }

    // Makes the table file from the definitions; never over an existing file.
    void CreateTable();
    // Drops and re-creates the defined indexes in the file; the table must be closed.
    void RebuildIndexes();
    // The named indexes the file holds (the table must be open).
    std::vector<TIndexDef> FileIndexDefs() const;

    // True when a row of the file (not just of the rows read) has exactly this text in
    // the field; the phone book's look-up of scheduled addresses.
    bool HasValue(const std::string& fieldName, const std::string& text) const;

protected:
    void OpenSource() override;
    void CloseSource() override;
    TSqliteStatement SelectRows() override;

private:
    std::string BaseName() const;
    void ChangeView(const std::function<void()>& change);
    std::string WhereClause(TValue& value) const;
    std::string OrderClause() const;
    std::string ColumnOf(const std::string& fieldName) const;

    std::string databaseName;
    std::string tableName;
    std::string filter;
    bool filtered = false;
    std::string indexName;
    std::vector<TFieldDef> fieldDefs;
    std::vector<TIndexDef> indexDefs;
    std::vector<std::string> columns;
};
