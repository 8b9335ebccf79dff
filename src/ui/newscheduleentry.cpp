#include "ui/newscheduleentry.h"

#include <QDialog>
#include <QLineEdit>

#include "core/settings.h"
#include "data/dmmain.h"
#include "data/field.h"
#include "ui/fmwww.h"

bool EditNewScheduleEntry(TDMMain& data, TfmWWW& dialog, const std::string& url, const std::string& alias,
                          int category)
{
    dialog.Prepare();
    dialog.EdtLayout->setText(QString::number(Settings().idefaultDepth));
    TTable& station = data.tabStation();
    station.Append();
    station.FieldByName("url").SetAsString(url);
    station.FieldByName("alias").SetAsString(alias);
    station.FieldByName("kind_serial").SetAsInteger(category);
    station.FieldByName("Cross").SetAsBoolean(Settings().bdefaultCross);
    if (dialog.exec() == QDialog::Accepted)
        return true;
    station.Cancel();
    return false;
}
