#include "data/dataset.h"

#include <algorithm>

#include "core/text.h"
#include "data/databaseerror.h"
#include "data/fielddef.h"
#include "data/session.h"

TDataSet::TDataSet(TSession& session, std::string name) : session(session), name(std::move(name))
{
}

TDataSet::~TDataSet()
{
    Unlock();
}

void TDataSet::CheckActive() const
{
    if (!Active())
        throw EDatabaseError(name + ": Cannot perform this operation on a closed dataset");
}

void TDataSet::SetActive(bool value)
{
    if (value)
        Open();
    else
        Close();
}

void TDataSet::Open()
{
    if (Active())
        return;
    OpenSource();
    try {
        MakeFields();
        state = TDataSetState::Browse;
        rows = ReadRows();
    } catch (...) {
        state = TDataSetState::Inactive;
        fields.clear();
        rows.clear();
        CloseSource();
        throw;
    }
    current = rows.empty() ? -1 : 0;
    bof = true;
    eof = rows.empty();
    Notify(TDataEvent::DataChanged);
}

void TDataSet::Close()
{
    if (!Active())
        return;
    if (state == TDataSetState::Edit || state == TDataSetState::Insert)
        Cancel();
    CloseSource();
    rows.clear();
    fields.clear();
    current = -1;
    bof = eof = true;
    state = TDataSetState::Inactive;
    Notify(TDataEvent::DataChanged);
}

void TDataSet::DefineStoredFields(const std::vector<TFieldDef>& defs, const std::vector<std::string>& columns)
{
    storedDefs = defs;
    storedColumns = columns;
}

void TDataSet::MakeFields()
{
    fields.clear();
    auto add = [this](const TFieldDef& def, bool calculated) {
        auto field = std::make_unique<TField>(*this, def, static_cast<int>(fields.size()), calculated);
        std::string key = LowerCase(def.name);
        if (auto title = titles.find(key); title != titles.end())
            field->SetDisplayLabel(title->second);
        if (auto shown = visibility.find(key); shown != visibility.end())
            field->SetVisible(shown->second);
        fields.push_back(std::move(field));
    };
    for (const TFieldDef& def : storedDefs)
        add(def, false);
    for (const TFieldDef& def : calcDefs)
        add(def, true);
}

TField* TDataSet::FindField(const std::string& fieldName) const
{
    for (const auto& field : fields)
        if (SameText(field->FieldName(), fieldName))
            return field.get();
    return nullptr;
}

TField& TDataSet::FieldByName(const std::string& fieldName) const
{
    if (TField* field = FindField(fieldName))
        return *field;
    throw EDatabaseError(name + ": Field '" + fieldName + "' not found");
}

void TDataSet::AddCalcField(const TFieldDef& def)
{
    if (Active())
        throw EDatabaseError(name + ": Cannot add a field to an open dataset");
    calcDefs.push_back(def);
}

void TDataSet::SetFieldTitle(const std::string& fieldName, const std::string& title)
{
    titles[LowerCase(fieldName)] = title;
    if (TField* field = FindField(fieldName))
        field->SetDisplayLabel(title);
}

void TDataSet::SetFieldVisible(const std::string& fieldName, bool visible)
{
    visibility[LowerCase(fieldName)] = visible;
    if (TField* field = FindField(fieldName))
        field->SetVisible(visible);
}

std::vector<TDataSet::TRow> TDataSet::ReadRows()
{
    std::vector<TRow> result;
    TSqliteStatement select = SelectRows();
    size_t stored = storedDefs.size();
    while (select.Step()) {
        TRow row;
        TValue rowid = select.Column(0);
        if (const auto* id = std::get_if<long long>(&rowid))
            row.rowid = *id;
        row.values.resize(fields.size());
        for (size_t i = 0; i < stored; ++i)
            row.values[i] = select.Column(static_cast<int>(i) + 1);
        Calculate(row);
        result.push_back(std::move(row));
    }
    return result;
}

void TDataSet::Calculate(TRow& row)
{
    if (calcDefs.empty() || !OnCalcFields)
        return;
    TDataSetState saved = state;
    state = TDataSetState::CalcFields;
    calcRow = &row;
    try {
        OnCalcFields(*this);
    } catch (...) {
        state = saved;
        calcRow = nullptr;
        throw;
    }
    state = saved;
    calcRow = nullptr;
}

const TDataSet::TRow* TDataSet::CurrentRow() const
{
    if (current < 0 || current >= static_cast<int>(rows.size()))
        return nullptr;
    return &rows[static_cast<size_t>(current)];
}

TValue TDataSet::FieldValue(int index) const
{
    const TRow* row = nullptr;
    if (state == TDataSetState::CalcFields)
        row = calcRow;
    else if (state == TDataSetState::Edit || state == TDataSetState::Insert)
        row = &buffer;
    else
        row = CurrentRow();
    if (!row || index < 0 || index >= static_cast<int>(row->values.size()))
        return {};
    return row->values[static_cast<size_t>(index)];
}

void TDataSet::SetFieldValue(int index, TValue value)
{
    const TField& field = Fields(index);
    auto slot = static_cast<size_t>(index);
    if (state == TDataSetState::CalcFields && field.Calculated()) {
        calcRow->values[slot] = std::move(value);
        return;
    }
    if (state != TDataSetState::Edit && state != TDataSetState::Insert)
        throw EDatabaseError(name + ": Dataset not in edit or insert mode");
    if (field.Calculated() || field.DataType() == TFieldType::AutoInc || storedColumns[slot].empty())
        throw EDatabaseError(name + ": Field '" + field.FieldName() + "' cannot be modified");
    buffer.values[slot] = std::move(value);
    changed[slot] = true;
    modified = true;
    Notify(TDataEvent::RecordChanged);
}

TValue TDataSet::RowValue(int row, int field) const
{
    if (row < 0 || row >= static_cast<int>(rows.size()) || field < 0 || field >= FieldCount())
        return {};
    if (row == current && state == TDataSetState::Edit)
        return buffer.values[static_cast<size_t>(field)];
    return rows[static_cast<size_t>(row)].values[static_cast<size_t>(field)];
}

void TDataSet::CheckBrowseMode()
{
    if (state != TDataSetState::Edit && state != TDataSetState::Insert)
        return;
    if (modified)
        Post();
    else
        Cancel();
}

void TDataSet::First()
{
    CheckActive();
    CheckBrowseMode();
    current = rows.empty() ? -1 : 0;
    bof = true;
    eof = rows.empty();
    Notify(TDataEvent::RecordMoved);
}

void TDataSet::Last()
{
    CheckActive();
    CheckBrowseMode();
    current = static_cast<int>(rows.size()) - 1;
    eof = true;
    bof = rows.empty();
    Notify(TDataEvent::RecordMoved);
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance)
{
    CheckActive();
    CheckBrowseMode();
    if (rows.empty()) {
        bof = eof = true;
        return 0;
    }
    int last = static_cast<int>(rows.size()) - 1;
    long long target = static_cast<long long>(current) + distance;
    bof = eof = false;
    if (target > last) {
        target = last;
        eof = true;
    }
    if (target < 0) {
        target = 0;
        bof = true;
    }
    int moved = static_cast<int>(target) - current;
    current = static_cast<int>(target);
    if (moved != 0)
        Notify(TDataEvent::RecordMoved);
    return moved;
}

int TDataSet::RecNo() const
{
    return CurrentRow() ? current + 1 : 0;
}

void TDataSet::SetRecNo(int value)
{
    CheckActive();
    CheckBrowseMode();
    if (rows.empty())
        return;
    current = std::clamp(value - 1, 0, static_cast<int>(rows.size()) - 1);
    bof = eof = false;
    Notify(TDataEvent::RecordMoved);
}

bool TDataSet::Locate(const std::string& fieldNames, const std::vector<std::string>& values, TLocateOptions options)
{
    CheckActive();
    CheckBrowseMode();
    std::vector<const TField*> keys;
    for (const std::string& fieldName : SplitText(fieldNames, ';'))
        keys.push_back(&FieldByName(Trim(fieldName)));
    if (keys.size() != values.size())
        throw EDatabaseError(name + ": Locate needs one value for each of the fields \"" + fieldNames + "\"");
    auto matches = [&](const std::string& text, std::string wanted) {
        std::string have = options.caseInsensitive ? LowerCase(text) : text;
        if (options.caseInsensitive)
            wanted = LowerCase(wanted);
        return options.partialKey ? have.compare(0, wanted.size(), wanted) == 0 : have == wanted;
    };
    for (size_t row = 0; row < rows.size(); ++row) {
        bool all = true;
        for (size_t k = 0; k < keys.size() && all; ++k)
            all = matches(keys[k]->TextOf(rows[row].values[static_cast<size_t>(keys[k]->Index())]), values[k]);
        if (all) {
            current = static_cast<int>(row);
            bof = eof = false;
            Notify(TDataEvent::RecordMoved);
            return true;
        }
    }
    return false;
}

void TDataSet::StartInsert()
{
    CheckActive();
    CheckBrowseMode();
    if (!CanModify())
        throw EDatabaseError(name + ": Cannot modify a read-only dataset");
    buffer = TRow();
    buffer.values.resize(fields.size());
    changed.assign(fields.size(), false);
    modified = false;
    state = TDataSetState::Insert;
    Notify(TDataEvent::RecordChanged);
}

void TDataSet::Append()
{
    StartInsert();
}

void TDataSet::Insert()
{
    StartInsert();
}

void TDataSet::Edit()
{
    CheckActive();
    if (state == TDataSetState::Edit || state == TDataSetState::Insert)
        return;
    if (rows.empty()) {
        Insert();
        return;
    }
    if (!CanModify())
        throw EDatabaseError(name + ": Cannot modify a read-only dataset");
    if (BeforeEdit)
        BeforeEdit(*this);
    TRecordKey key = CurrentKey();
    if (!RecordLocks().TryLock(key, &session))
        throw EDatabaseError(name + ": Record locked by another user");
    locked = true;
    buffer = *CurrentRow();
    changed.assign(fields.size(), false);
    modified = false;
    state = TDataSetState::Edit;
    Notify(TDataEvent::RecordChanged);
}

void TDataSet::CheckRequired() const
{
    for (size_t i = 0; i < storedDefs.size(); ++i)
        if (storedDefs[i].required && storedDefs[i].type != TFieldType::AutoInc && IsNullValue(buffer.values[i]))
            throw EDatabaseError(name + ": Field '" + storedDefs[i].name + "' must have a value");
}

long long TDataSet::WriteRow()
{
    bool inserting = state == TDataSetState::Insert;
    std::vector<size_t> targets;
    for (size_t i = 0; i < storedDefs.size(); ++i) {
        if (storedColumns[i].empty() || storedDefs[i].type == TFieldType::AutoInc)
            continue;
        if (inserting ? !IsNullValue(buffer.values[i]) : changed[i])
            targets.push_back(i);
    }
    std::string table = QuoteName(connection->Table());
    if (inserting) {
        std::string sql = "INSERT INTO " + table;
        if (targets.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names;
            std::string marks;
            for (size_t i : targets) {
                names += (names.empty() ? "" : ", ") + QuoteName(storedColumns[i]);
                marks += marks.empty() ? "?" : ", ?";
            }
            sql += " (" + names + ") VALUES (" + marks + ")";
        }
        TSqliteStatement insert = connection->Prepare(sql);
        for (size_t k = 0; k < targets.size(); ++k)
            insert.Bind(static_cast<int>(k) + 1, buffer.values[targets[k]]);
        insert.Step();
        return connection->LastInsertRowId();
    }
    if (targets.empty())
        return buffer.rowid;
    std::string assignments;
    for (size_t i : targets)
        assignments += (assignments.empty() ? "" : ", ") + QuoteName(storedColumns[i]) + " = ?";
    TSqliteStatement update = connection->Prepare("UPDATE " + table + " SET " + assignments + " WHERE rowid = ?");
    int slot = 1;
    for (size_t i : targets)
        update.Bind(slot++, buffer.values[i]);
    update.Bind(slot, buffer.rowid);
    update.Step();
    if (connection->Changes() == 0)
        throw EDatabaseError(name + ": Record/key deleted");
    return buffer.rowid;
}

void TDataSet::Post()
{
    CheckActive();
    if (state != TDataSetState::Edit && state != TDataSetState::Insert)
        return;
    bool inserted = state == TDataSetState::Insert;
    long long rowid = 0;
    try {
        CheckRequired();
        rowid = WriteRow();
    } catch (const std::exception& error) {
        if (OnPostError)
            OnPostError(*this, error);
        throw;
    }
    Unlock();
    state = TDataSetState::Browse;
    modified = false;
    ReadBack(rowid, inserted);
    Notify(TDataEvent::DataChanged);
}

void TDataSet::ReadBack(long long rowid, bool inserted)
{
    if (ReloadAfterWrite()) {
        rows = ReadRows();
        SeekRow(rowid, current);
        return;
    }
    TRow row = buffer;
    row.rowid = rowid;
    std::string columns;
    std::vector<size_t> read;
    for (size_t i = 0; i < storedDefs.size(); ++i)
        if (!storedColumns[i].empty()) {
            columns += ", " + QuoteName(storedColumns[i]);
            read.push_back(i);
        }
    TSqliteStatement select =
        connection->Prepare("SELECT rowid" + columns + " FROM " + QuoteName(connection->Table()) + " WHERE rowid = ?");
    select.Bind(1, rowid);
    if (select.Step())
        for (size_t k = 0; k < read.size(); ++k)
            row.values[read[k]] = select.Column(static_cast<int>(k) + 1);
    Calculate(row);
    if (inserted) {
        rows.push_back(std::move(row));
        current = static_cast<int>(rows.size()) - 1;
    } else {
        rows[static_cast<size_t>(current)] = std::move(row);
    }
    bof = eof = false;
}

void TDataSet::SeekRow(long long rowid, int fallback)
{
    current = -1;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].rowid == rowid)
            current = static_cast<int>(i);
    if (current < 0 && !rows.empty())
        current = std::clamp(fallback, 0, static_cast<int>(rows.size()) - 1);
    bof = eof = rows.empty();
}

void TDataSet::Unlock()
{
    if (!locked)
        return;
    RecordLocks().Unlock(TRecordKey{lockFile, buffer.rowid}, &session);
    locked = false;
}

void TDataSet::Cancel()
{
    if (state != TDataSetState::Edit && state != TDataSetState::Insert)
        return;
    Unlock();
    state = TDataSetState::Browse;
    buffer = TRow();
    modified = false;
    Notify(TDataEvent::RecordChanged);
}

void TDataSet::Delete()
{
    CheckActive();
    if (state == TDataSetState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    if (rows.empty())
        throw EDatabaseError(name + ": Cannot perform this operation on an empty dataset");
    if (!CanModify())
        throw EDatabaseError(name + ": Cannot modify a read-only dataset");
    int index = current;
    try {
        if (RecordLocks().HeldByOther(CurrentKey(), &session))
            throw EDatabaseError(name + ": Record locked by another user");
        TSqliteStatement remove =
            connection->Prepare("DELETE FROM " + QuoteName(connection->Table()) + " WHERE rowid = ?");
        remove.Bind(1, CurrentRow()->rowid);
        remove.Step();
    } catch (const std::exception& error) {
        if (OnDeleteError)
            OnDeleteError(*this, error);
        throw;
    }
    if (ReloadAfterWrite())
        rows = ReadRows();
    else
        rows.erase(rows.begin() + index);
    current = rows.empty() ? -1 : std::min(index, static_cast<int>(rows.size()) - 1);
    bof = eof = rows.empty();
    Notify(TDataEvent::DataChanged);
}

void TDataSet::Refresh()
{
    CheckActive();
    CheckBrowseMode();
    Reload();
    Notify(TDataEvent::DataChanged);
}

void TDataSet::Reload()
{
    const TRow* row = CurrentRow();
    long long rowid = row ? row->rowid : 0;
    rows = ReadRows();
    SeekRow(rowid, current);
}

namespace {

// The order of SQLite's storage classes in a sort: NULL, numbers, texts.
int SortClass(const TValue& value)
{
    if (std::holds_alternative<std::monostate>(value))
        return 0;
    return std::holds_alternative<std::string>(value) ? 2 : 1;
}

double NumberOf(const TValue& value)
{
    if (const auto* whole = std::get_if<long long>(&value))
        return static_cast<double>(*whole);
    return std::get<double>(value);
}

bool SortsBefore(const TValue& a, const TValue& b)
{
    int classA = SortClass(a);
    int classB = SortClass(b);
    if (classA != classB)
        return classA < classB;
    if (classA == 2)
        return std::get<std::string>(a) < std::get<std::string>(b);  // byte by byte, as BINARY
    if (classA == 1) {
        const auto* wholeA = std::get_if<long long>(&a);
        const auto* wholeB = std::get_if<long long>(&b);
        return wholeA && wholeB ? *wholeA < *wholeB : NumberOf(a) < NumberOf(b);
    }
    return false;
}

}  // namespace

void TDataSet::SortRows(int fieldIndex, bool descending)
{
    CheckActive();
    if (state == TDataSetState::Edit || state == TDataSetState::Insert)
        Cancel();
    size_t column = static_cast<size_t>(Fields(fieldIndex).Index());
    std::stable_sort(rows.begin(), rows.end(), [column, descending](const TRow& a, const TRow& b) {
        return descending ? SortsBefore(b.values[column], a.values[column])
                          : SortsBefore(a.values[column], b.values[column]);
    });
    current = rows.empty() ? -1 : 0;
    bof = true;
    eof = rows.empty();
    Notify(TDataEvent::DataChanged);
}

TRecordKey TDataSet::CurrentKey() const
{
    if (state == TDataSetState::Edit)
        return TRecordKey{lockFile, buffer.rowid};
    const TRow* row = CurrentRow();
    return TRecordKey{lockFile, row ? row->rowid : 0};
}

void TDataSet::DisableControls()
{
    ++controlsDisabled;
}

void TDataSet::EnableControls()
{
    if (controlsDisabled > 0 && --controlsDisabled == 0)
        Notify(TDataEvent::DataChanged);
}

int TDataSet::AddObserver(std::function<void(TDataEvent)> observer)
{
    int id = nextObserver++;
    observers.emplace(id, std::move(observer));
    return id;
}

void TDataSet::RemoveObserver(int id)
{
    observers.erase(id);
}

void TDataSet::Notify(TDataEvent event)
{
    if (controlsDisabled > 0)
        return;
    auto listening = observers;
    for (auto& [id, observer] : listening)
        observer(event);
}
