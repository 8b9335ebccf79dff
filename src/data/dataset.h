#pragma once

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/field.h"
#include "data/recordlocks.h"
#include "data/sqliteconnection.h"
#include "data/value.h"

class TSession;

enum class TDataSetState { Inactive, Browse, Edit, Insert, CalcFields };

// What observers (the grids' models) hear: the rows changed, the current record moved,
// or the current record changed in place (its state or one of its fields).
enum class TDataEvent { DataChanged, RecordMoved, RecordChanged };

struct TLocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;  // a value matches the start of the field's text
};

// The rows of one table of a table file, as the toolkit's data set gives them: a current
// record, Browse / Edit / Insert states, fields by name without regard to case, calculated
// fields and hooks. The rows are read when the data set opens and again after every post,
// delete and Refresh; a row posted by another session appears on the next Refresh. Every
// post and delete is committed at once, so it is on disk and seen by the other session
// when the call returns. A record in Edit state holds a write lock on its row in the
// process's lock table for the data set's session.
class TDataSet {
public:
    TDataSet(TSession& session, std::string name);
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    const std::string& Name() const { return name; }  // the object's name, for messages
    TSession& Session() const { return session; }

    void Open();
    void Close();  // cancels a pending edit
    bool Active() const { return state != TDataSetState::Inactive; }
    void SetActive(bool value);
    TDataSetState State() const { return state; }

    // Fields exist while the data set is open; the stored ones come from the file, the
    // calculated ones from AddCalcField. Titles and visibility set by name are kept across
    // Close and Open.
    int FieldCount() const { return static_cast<int>(fields.size()); }
    TField& Fields(int index) const { return *fields.at(static_cast<size_t>(index)); }
    TField* FindField(const std::string& fieldName) const;
    TField& FieldByName(const std::string& fieldName) const;  // EDatabaseError when unknown
    void AddCalcField(const TFieldDef& def);
    void SetFieldTitle(const std::string& fieldName, const std::string& title);
    void SetFieldVisible(const std::string& fieldName, bool visible);

    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);  // the distance actually moved
    bool Eof() const { return eof; }
    bool Bof() const { return bof; }
    bool IsEmpty() const { return rows.empty(); }
    int RecordCount() const { return static_cast<int>(rows.size()); }
    int RecNo() const;  // 1 for the first record, 0 when there is none
    void SetRecNo(int value);
    // Moves to the first record whose fields (names separated by ";") have the values.
    bool Locate(const std::string& fieldNames, const std::vector<std::string>& values,
                TLocateOptions options = {});

    void Append();
    void Insert();
    void Edit();  // on an empty data set the toolkit inserts instead
    void Post();
    void Cancel();
    void Delete();
    void Refresh();
    bool Modified() const { return modified; }

    TRecordKey CurrentKey() const;

    // While controls are disabled observers hear nothing; enabling tells them once that
    // the data changed.
    void DisableControls();
    void EnableControls();
    int AddObserver(std::function<void(TDataEvent)> observer);
    void RemoveObserver(int id);

    // The value of a field in a row, without moving the current record (for grids).
    TValue RowValue(int row, int field) const;

    // BeforeEdit may raise EAbort to abandon the edit. OnPostError and OnDeleteError are
    // told of a failure before it reaches the caller. OnCalcFields sets the calculated
    // fields of the record it is called on.
    std::function<void(TDataSet&)> BeforeEdit;
    std::function<void(TDataSet&, const std::exception&)> OnPostError;
    std::function<void(TDataSet&, const std::exception&)> OnDeleteError;
    std::function<void(TDataSet&)> OnCalcFields;

    // For TField.
    TValue FieldValue(int index) const;
    void SetFieldValue(int index, TValue value);

protected:
    struct TRow {
        long long rowid = 0;
        std::vector<TValue> values;
    };

    // A subclass opens its connection and names its stored fields, each with the table
    // column it is written to (empty: read only); it reads its rows, each starting with
    // the rowid followed by the stored fields.
    virtual void OpenSource() = 0;
    virtual void CloseSource() = 0;
    virtual TSqliteStatement SelectRows() = 0;
    virtual bool CanModify() const { return true; }
    // After a post or delete: tables read all rows again in their order, queries keep
    // their rows and take over the one written.
    virtual bool ReloadAfterWrite() const { return true; }

    void DefineStoredFields(const std::vector<TFieldDef>& defs, const std::vector<std::string>& columns);
    void Reload();
    // Puts the rows held in the order of one field as SQLite's ORDER BY puts a column: empty
    // first, then numbers by value, then texts byte by byte; equal values keep their order.
    // The first row becomes current, as after opening.
    void SortRows(int fieldIndex, bool descending);
    void CheckActive() const;
    // Before the view changes: a modified record is posted, an unmodified one cancelled.
    void CheckBrowseMode();
    void Notify(TDataEvent event);

    std::unique_ptr<TSqliteConnection> connection;
    std::string lockFile;  // the full path of the table file, for the record locks

private:
    void MakeFields();
    std::vector<TRow> ReadRows();
    void Calculate(TRow& row);
    void StartInsert();
    void CheckRequired() const;
    long long WriteRow();
    void ReadBack(long long rowid, bool inserted);
    void SeekRow(long long rowid, int fallback);
    void Unlock();
    const TRow* CurrentRow() const;

    TSession& session;
    std::string name;
    TDataSetState state = TDataSetState::Inactive;
    std::vector<std::unique_ptr<TField>> fields;
    std::vector<TFieldDef> storedDefs;
    std::vector<std::string> storedColumns;
    std::vector<TFieldDef> calcDefs;
    std::map<std::string, std::string> titles;  // lower-case field name -> title
    std::map<std::string, bool> visibility;
    std::vector<TRow> rows;
    int current = -1;
    bool bof = true;
    bool eof = true;
    TRow buffer;  // the record being edited or inserted
    std::vector<bool> changed;  // the fields of buffer that were assigned
    bool modified = false;
    bool locked = false;
    TRow* calcRow = nullptr;
    int controlsDisabled = 0;
    int nextObserver = 1;
    std::map<int, std::function<void(TDataEvent)>> observers;
};
