#pragma once

#include <map>
#include <string>

#include <QLineEdit>
#include <QPushButton>

#include "data/query.h"
#include "ui/fixeddialog.h"

class TDMMain;
class TRadioGroup;
class TRecordScrollBar;
class TSearchHost;
class TTestGrid;

// The search dialog: finds the schedule entries or the phone book sites whose short name
// and address contain the texts typed, lists them with their category, and from a hit
// puts the site on the schedule, goes to its row in the main window, or opens it. The
// boxes reach the query as parameters only, so what is typed never changes the SQL; "%"
// and "_" in them match as LIKE wildcards.
class TfmSearch : public TFixedDialog {
public:
    // The data sources of RadioGroup1.
    enum TSource { srcSchedule = 0, srcPhoneBook = 1 };
    // The order of the hits, by a click on the name or the address title.
    enum TSort { sortNone = 0, sortUrl = 1, sortUrlDesc = 2, sortAlias = 3, sortAliasDesc = 4 };

    // data and host must outlive the dialog.
    TfmSearch(TDMMain& data, TSearchHost& host, QWidget* parent = nullptr);
    ~TfmSearch() override;

    TQuery& Query1() { return query; }
    int SortState() const { return sortState; }

    // "開始搜尋", and every click on the data source.
    void btnOkClick();
    // "列入排程"
    void btnScheduleClick();
    // "到對應區"
    void btnGoClick();
    // A click on a column title of the hits.
    void TestGrid1ColumnClick(int column);
    // A double-click on a hit.
    void TestGrid1DblClick();

    QLineEdit* edtAlias;
    QLineEdit* edtURL;
    TRadioGroup* RadioGroup1;
    QPushButton* btnSchedule;
    QPushButton* btnGo;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    TTestGrid* TestGrid1;
    TRecordScrollBar* ScrollBar4;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void MakeSearchBoxes();
    void MakeButtons();
    void MakeGrid();

    void SetParams();
    void ReadKindTexts();
    void OpenQuery();
    void RunSearch();
    void ShowHits();
    void Sort(int column);
    void AddToSchedule(const std::string& url, const std::string& alias, int kind);
    void CalcKindText(TDataSet& rows);
    std::string HitText(const char* fieldName) const;

    TDMMain& data;
    TSearchHost& host;
    TQuery query;
    int sortState = sortNone;
    std::map<int, std::string> kindTexts;  // kind_serial -> the category's name
    int kindSerialIndex = -1;  // the fields of the hits, found on the first read
    int kindTextIndex = -1;
};
