#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/dataset.h"
#include "data/param.h"

// An SQL query over one table file, with ":name" parameters. The file is named in the FROM
// clause as the toolkit's local SQL names it: in double quotes, as a full path or relative
// to the database name (the data folder), such as "Select * From \"/…/data/station.db\"
// Where DesireDateTime < :DesireDateTime" or "... from \"Favor.db\" where url like :url".
// With RequestLive the rows can be edited and posted: the columns that name columns of the
// table are written back to their row. Calculated fields work as on tables. The query keeps
// its connection between Close and Open, so a poll that reopens it costs little.
class TQuery : public TDataSet {
public:
    TQuery(TSession& session, std::string name);
    ~TQuery() override;

    void SetDatabaseName(const std::string& folder);
    // The SQL lines; setting them closes the query and makes its parameters anew.
    void SetSQL(const std::vector<std::string>& lines);
    const std::vector<std::string>& SQL() const { return lines; }
    std::string SQLText() const;
    // New SQL lines that only order the same rows differently, by one field: the rows held
    // are sorted here instead of read again (for SQLite, sorting a large result costs more
    // than finding it). The parameters and their values stay; the query must be open.
    void ReorderRows(const std::vector<std::string>& text, const std::string& fieldName, bool descending);

    int ParamCount() const { return static_cast<int>(params.size()); }
    TParam& Params(int index) { return params.at(static_cast<size_t>(index)); }
    TParam& ParamByName(const std::string& paramName);  // without regard to case

    void SetRequestLive(bool value) { requestLive = value; }
    bool RequestLive() const { return requestLive; }

protected:
    void OpenSource() override;
    void CloseSource() override;
    TSqliteStatement SelectRows() override;
    bool CanModify() const override { return requestLive; }
    bool ReloadAfterWrite() const override { return false; }

private:
    std::string Translate(std::string& file) const;
    void BindParams(TSqliteStatement& statement) const;

    std::string databaseName;
    std::vector<std::string> lines;
    std::vector<TParam> params;
    bool requestLive = false;
    std::string translated;
};
